#include "WaylandFixture.h"

#include "TestKeyboard.h"

#include "desktop/wayland/EventLoopWait.h"
#include "desktop/wayland/KeystrokeSender.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <memory>

namespace glimra::test {

namespace {

bool lookUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    // What the tests wait for is often asked of another process (a window search, the bus),
    // which sends this one no event when it comes true: look again every 20 ms.
    const QDeadlineTimer deadline(timeout);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        const QDeadlineTimer nextLook(std::min<qint64>(20, deadline.remainingTime()));
        waitWithEventLoop([&nextLook] { return nextLook.hasExpired(); }, nextLook);
    }
    return true;
}

// Says once, in words CTest recognises, that the whole family was skipped and why.
class SkipReport : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const QString reason = qEnvironmentVariable("GLIMRA_WAYLAND_SKIP");
        if (!reason.isEmpty())
            std::printf("GLIMRA-WAYLAND-SKIPPED: %s\n", qPrintable(reason));
        else if (qEnvironmentVariable("GLIMRA_WAYLAND_FAMILY").isEmpty())
            std::printf("GLIMRA-WAYLAND-SKIPPED: not started by run-on-wayland.sh\n");
    }
};
const auto *const skipReport = ::testing::AddGlobalTestEnvironment(new SkipReport);

std::unique_ptr<WaylandSession> &sharedSession()
{
    static std::unique_ptr<WaylandSession> session;
    return session;
}

std::unique_ptr<TestKeyboard> &sharedKeyboard()
{
    static std::unique_ptr<TestKeyboard> keyboard;
    return keyboard;
}

constexpr int KeyEscape = 1;

} // namespace

void WaylandTest::SetUp()
{
    const QString reason = qEnvironmentVariable("GLIMRA_WAYLAND_SKIP");
    if (!reason.isEmpty())
        GTEST_SKIP() << reason.toStdString();
    if (qEnvironmentVariable("GLIMRA_WAYLAND_FAMILY").isEmpty())
        GTEST_SKIP() << "not started by run-on-wayland.sh";
    ASSERT_NO_FATAL_FAILURE(session());
}

Family WaylandTest::family()
{
    const QString name = qEnvironmentVariable("GLIMRA_WAYLAND_FAMILY");
    return name == QLatin1String("kwin") ? Family::KWin
         : name == QLatin1String("gnome") ? Family::Gnome
                                           : Family::Sway;
}

WaylandSession &WaylandTest::session()
{
    std::unique_ptr<WaylandSession> &session = sharedSession();
    if (!session) {
        QString problem;
        session = WaylandSession::connectToSession(&problem);
        if (!session) {
            ADD_FAILURE() << "no connection to the compositor: " << problem.toStdString();
            std::abort();
        }
        sharedKeyboard() = std::make_unique<TestKeyboard>(*session, isGnome());
        // Gone while the application object, whose event dispatcher it uses, is still there.
        qAddPostRoutine([] {
            sharedKeyboard().reset();
            sharedSession().reset();
        });
        // GNOME Shell starts in the overview, and its headless seat gets a keyboard with
        // the first key typed (before that, a window asking for a keyboard makes Mutter 43
        // crash): one Escape does both.
        if (isGnome())
            pressKeys({}, KeyEscape);
    }
    return *session;
}

std::unique_ptr<TestClient> WaylandTest::openWindow(const TestClient::Options &options)
{
    auto window = std::make_unique<TestClient>(options);
    EXPECT_TRUE(window->waitForLine("focus 1")) << window->transcript().toStdString();
    if (options.clipboard.isNull() && options.primary.isNull())
        return window;
    // A key typed in it gives it the input serial that a selection needs.
    pressKeys({}, KeystrokeSender::KeyLeftShift);
    if (!options.clipboard.isNull()) {
        EXPECT_TRUE(window->waitForLine("clipboard-set")) << window->transcript().toStdString();
    }
    if (!options.primary.isNull()) {
        EXPECT_TRUE(window->waitForLine("primary-set")) << window->transcript().toStdString();
    }
    return window;
}

void WaylandTest::pressKeys(const QList<int> &modifiers, int key)
{
    QString problem;
    EXPECT_TRUE(sharedKeyboard() && sharedKeyboard()->sendChord(modifiers, key, &problem)) << problem.toStdString();
}

QString WaylandTest::workPath(const QString &relative)
{
    return qEnvironmentVariable("GLIMRA_WAYLAND_WORK") + QLatin1Char('/') + relative;
}

bool WaylandTest::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    return lookUntil(done, timeout);
}

void XwaylandTest::SetUp()
{
    WaylandTest::SetUp();
    if (IsSkipped() || HasFatalFailure())
        return;
    if (qEnvironmentVariableIsEmpty("GLIMRA_XWAYLAND_DISPLAY"))
        GTEST_SKIP() << "the compositor told no Xwayland display";
}

ResidentGlimra::ResidentGlimra()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("GLIMRA_XWAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("GLIMRA_KEEP_DISPLAY"), QStringLiteral("1"));
    m_process.setProcessEnvironment(environment);
    // Its messages, in the test's output, for a failure's investigation.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(GLIMRA_BINARY), {});
}

ResidentGlimra::~ResidentGlimra()
{
    call(QStringLiteral("Quit"));
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished();
}

bool ResidentGlimra::waitUntilOnTheBus()
{
    return lookUntil([] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.glimra.Glimra")).value();
    }, std::chrono::seconds(20));
}

QDBusMessage ResidentGlimra::call(const QString &method, const QVariantList &arguments, int timeout)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.glimra.Glimra"), QStringLiteral("/org/glimra/Glimra"),
                                                          QStringLiteral("org.glimra.Glimra1"), method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, timeout);
}

QString ResidentGlimra::guessedText()
{
    const QDBusMessage reply = call(QStringLiteral("Results"));
    return QJsonDocument::fromJson(reply.arguments().value(0).toString().toUtf8())
        .object().value(QStringLiteral("selectionContext")).toObject().value(QStringLiteral("CTX_TEXT")).toString();
}

GlimraRun glimraOnTheDesktop(const QStringList &arguments, bool withDisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (withDisplay) {
        environment.insert(QStringLiteral("DISPLAY"), qEnvironmentVariable("GLIMRA_XWAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("GLIMRA_KEEP_DISPLAY"), QStringLiteral("1"));
    } else {
        environment.remove(QStringLiteral("DISPLAY"));
    }
    return runGlimra(arguments, {}, environment);
}

} // namespace glimra::test
