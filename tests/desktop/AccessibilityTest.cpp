#include "AssemblyTest.h"

#include "ui/AccessibleText.h"
#include "ui/PreferencesWindow.h"
#include "ui/ResultWindow.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace glimra;
using namespace glimra::test;
using namespace Qt::StringLiterals;

namespace {

// Each field under `window` that a screen reader would announce without a name or without
// a description, by its class and object name.
QStringList unnamedFields(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!AccessibleText::isField(widget))
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        const bool named = accessible && !accessible->text(QAccessible::Name).trimmed().isEmpty();
        const bool described = accessible && !accessible->text(QAccessible::Description).trimmed().isEmpty();
        if (!named || !described)
            unnamed.append(u"%1 %2 (%3)"_s.arg(QString::fromLatin1(widget->metaObject()->className()),
                                               widget->objectName(), named ? u"no description"_s : u"no name"_s));
    }
    return unnamed;
}

} // namespace

class AccessibilityTest : public AssemblyTest
{
};

TEST_F(AccessibilityTest, EveryTableListTextViewAndFieldHasANameAndADescription)
{
    ResultWindow panel(&delegate(), fileManager);
    delegate().setResultWindow(&panel);
    delegate().guessText({{CTX_TEXT, u"serendipity"_s}});
    PreferencesWindow preferences(*assembly, [](const QString &, const QKeySequence &) { return QString(); });
    const struct
    {
        const char *window;
        QWidget *widget;
    } rows[] = {{"the panel", &panel}, {"the preferences", &preferences}};
    for (const auto &row : rows) {
        EXPECT_GE(row.widget->findChildren<QAbstractItemView *>().size(), 2) << row.window;
        EXPECT_EQ(unnamedFields(row.widget), QStringList()) << row.window;
    }
    delegate().setResultWindow(nullptr);
}

TEST(AccessibleTextTest, AnUnnamedFieldIsNamedAfterWhatIsReadBesideIt)
{
    const struct
    {
        const char *what;
        const char *label; // before the field, its buddy when `buddy`
        bool buddy;
        const char *placeholder;
        const char *ownName;
        QString name;
        QString description;
    } rows[] = {
        {"a field with a buddy label", "&Name:", true, "", "", u"Name"_s, u"Page"_s},
        {"a list under a sentence", "Matchers, in the order a guess runs them:", false, "", "",
         u"Matchers, in the order a guess runs them"_s, u"Page"_s},
        {"a field with only a placeholder", "", false, "Type a sample", "", u"Page"_s, u"Type a sample"_s},
        {"a field that names itself", "&Other:", true, "", "Own", u"Own"_s, u"Other"_s},
    };
    for (const auto &row : rows) {
        QWidget page;
        auto *layout = new QVBoxLayout(&page);
        auto *label = new QLabel(QString::fromUtf8(row.label), &page);
        auto *field = new QLineEdit(&page);
        field->setPlaceholderText(QString::fromUtf8(row.placeholder));
        field->setAccessibleName(QString::fromUtf8(row.ownName));
        if (row.buddy)
            label->setBuddy(field);
        if (*row.label)
            layout->addWidget(label);
        layout->addWidget(field);
        AccessibleText::complete(&page, u"Page"_s);
        EXPECT_EQ(field->accessibleName(), row.name) << row.what;
        EXPECT_EQ(field->accessibleDescription(), row.description) << row.what;
    }
}
