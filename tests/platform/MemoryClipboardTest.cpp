#include "platform/MemoryClipboard.h"

#include <gtest/gtest.h>

using namespace glimra;
using namespace Qt::StringLiterals;

TEST(MemoryClipboardTest, SettingTypesDiscardsEverythingAndOnlyDeclaredTypesTakeData)
{
    MemoryClipboard clipboard;
    clipboard.setTypes({Clipboard::TextType, Clipboard::PDFType});
    EXPECT_TRUE(clipboard.setData(u"héllo"_s.toUtf8(), Clipboard::TextType));
    EXPECT_TRUE(clipboard.setData("%PDF", Clipboard::PDFType));
    EXPECT_FALSE(clipboard.setData("<b>", Clipboard::HTMLType));
    EXPECT_EQ(clipboard.text(), u"héllo"_s);

    const ClipboardContents saved = clipboard.contents();
    clipboard.setTypes({Clipboard::HTMLType});
    EXPECT_TRUE(clipboard.data(Clipboard::PDFType).isNull());
    EXPECT_TRUE(clipboard.text().isNull());

    clipboard.setContents(saved);
    EXPECT_EQ(clipboard.types(), (QStringList{Clipboard::TextType, Clipboard::PDFType}));
    EXPECT_EQ(clipboard.data(Clipboard::PDFType), "%PDF");
}
