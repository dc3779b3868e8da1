#include "platform/MemoryPasteboard.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(MemoryPasteboardTest, DeclaringTypesDiscardsEverythingAndOnlyDeclaredTypesTakeData)
{
    MemoryPasteboard pasteboard;
    pasteboard.declareTypes({Pasteboard::StringType, Pasteboard::PDFType});
    EXPECT_TRUE(pasteboard.setString(u"héllo"_s, Pasteboard::StringType));
    EXPECT_TRUE(pasteboard.setData("%PDF", Pasteboard::PDFType));
    EXPECT_FALSE(pasteboard.setData("<b>", Pasteboard::HTMLType));
    EXPECT_EQ(pasteboard.stringValue(), u"héllo"_s);

    const PasteboardContents saved = pasteboard.contents();
    pasteboard.declareTypes({Pasteboard::HTMLType});
    EXPECT_TRUE(pasteboard.dataForType(Pasteboard::PDFType).isNull());
    EXPECT_TRUE(pasteboard.stringValue().isNull());

    pasteboard.setContents(saved);
    EXPECT_EQ(pasteboard.types(), (QStringList{Pasteboard::StringType, Pasteboard::PDFType}));
    EXPECT_EQ(pasteboard.dataForType(Pasteboard::PDFType), "%PDF");
}
