#include "DesktopTest.h"

#include <QJsonArray>

using namespace glimra::test;
using namespace Qt::StringLiterals;

class DoctorTest : public DesktopTest
{
};

TEST_F(DoctorTest, OnX11EveryNeedIsMetByTheX11MechanismsAndSaidOnOneLineEach)
{
    const GlimraRun json = glimra({u"doctor"_s, u"--json"_s});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray capabilities = json.json().value(u"capabilities"_s).toArray();
    const struct
    {
        QString name;
        QString mechanism;
    } expected[] = {
        {u"selection"_s, u"X11 PRIMARY selection"_s},
        {u"front application"_s, u"_NET_ACTIVE_WINDOW (X11 window manager)"_s},
        {u"clipboard"_s, u"X11 CLIPBOARD selection"_s},
        {u"keystroke"_s, u"xdotool (XTEST)"_s},
        {u"shortcut"_s, u"X11 key grab (the running Glimra)"_s},
    };
    ASSERT_EQ(capabilities.size(), std::size(expected)) << json.out.toStdString();
    for (qsizetype i = 0; i < capabilities.size(); ++i) {
        const QJsonObject capability = capabilities.at(i).toObject();
        EXPECT_EQ(capability.value(u"name"_s).toString(), expected[i].name);
        EXPECT_EQ(capability.value(u"mechanism"_s).toString(), expected[i].mechanism);
        EXPECT_TRUE(capability.value(u"answered"_s).toBool()) << expected[i].name.toStdString();
    }

    const GlimraRun text = glimra({u"doctor"_s});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out.count(u'\n'), 6) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains(u"selection: X11 PRIMARY selection, answered\n"_s)) << text.out.toStdString();
}

TEST_F(DoctorTest, WithoutADisplayEachNeedSaysWhatToDo)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, u":999"_s);
    environment.insert(u"GLIMRA_KEEP_DISPLAY"_s, u"1"_s);
    const GlimraRun run = glimra({u"doctor"_s}, {}, environment);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(u"selection: X11 PRIMARY selection, did not answer; no X display answers"_s))
        << run.out.toStdString();
}
