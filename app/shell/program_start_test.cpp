// Start-up: the splash window's fading steps, an exception that escapes
// start-up, a second start while the program runs, and a termination
// request that quits the message loop.
#include "app/shell/front_request.h"
#include "app/shell/program_start.h"
#include "app/shell/start_form.h"
#include "app/shell/termination_request.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/test_skin.h"
#include "platform/single_instance.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <stdexcept>

class ProgramStartTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vt::applyTestSkin(); }

    void splashFadesInByTensAndOutByFives()
    {
        TStartForm splash;
        QCOMPARE(splash.size(), QSize(446, 243));
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QList<int> steps;
        connect(&splash, &TStartForm::opacityApplied, this, [&steps](int opacity) { steps << opacity; });
        splash.show();

        splash.FadeSplash();
        QList<int> fadeIn;
        for (int opacity = 10; opacity <= 250; opacity += 10)
            fadeIn << opacity;
        fadeIn << 255;
        QCOMPARE(steps, fadeIn);
        QVERIFY(!splash.fadeInPending());

        steps.clear();
        splash.FadeSplash();
        QList<int> fadeOut;
        for (int opacity = 250; opacity >= 0; opacity -= 5)
            fadeOut << opacity;
        QCOMPARE(steps, fadeOut);
        QCOMPARE(splash.opacity(), 0);
    }

    void anExceptionInStartUpIsShownAndFailsTheProgram()
    {
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService scoped(dialogs);
        const int status = vt::shell::runGuarded([]() -> int { throw std::runtime_error("Out of window handles"); });
        QCOMPARE(status, vt::shell::kStartFailed);
        QVERIFY(status != 0);
        QCOMPARE(dialogs.messageTexts(), QStringList {QStringLiteral("Out of window handles")});
        QCOMPARE(dialogs.shown()[0].icon, vt::MessageIcon::Error);

        QCOMPARE(vt::shell::runGuarded([] { return 0; }), 0);
        QCOMPARE(dialogs.shown().size(), size_t(1));
    }

    void aSecondStartEndsAtOnceWithMinusOne()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
        vt::SingleInstanceLock first("vantorel");
        QVERIFY(first.acquire());
        // The running copy comes to the front when asked.
        QObject running;
        int frontRequests = 0;
        QVERIFY(vt::shell::onFrontRequest(running, vt::shell::frontRequestSocket(first.file()),
                                          [&frontRequests] { ++frontRequests; }));

        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Were the application object or a window created, the platform
        // plug-in would log its loading on stderr.
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.qpa.*=true"));
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(VANTOREL_BIN_DIR "/vantorel"), {});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 255);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(second.readAllStandardError(), QByteArray());
        QTRY_COMPARE(frontRequests, 1);
    }

    void aTerminationSignalEndsTheLoopEvenWhenItCameBeforeTheLoopRan()
    {
        vt::shell::catchTerminationSignals();
        QEventLoop loop;
        int requests = 0;
        // During start-up: kept until the loop watches.
        QCOMPARE(::raise(SIGTERM), 0);
        QCoreApplication::processEvents();
        vt::shell::onTerminationRequest(loop, [&] {
            ++requests;
            loop.exit(0);
        });
        QCOMPARE(runFor(loop, 5000), 0);
        QCOMPARE(requests, 1);

        // While the loop runs: Ctrl+C in the terminal the program was started from.
        QTimer::singleShot(50, [] { ::raise(SIGINT); });
        QCOMPARE(runFor(loop, 5000), 0);
        QCOMPARE(requests, 2);
    }

private:
    // The loop's status: what ended it, or 1 after timeoutMs.
    static int runFor(QEventLoop &loop, int timeoutMs)
    {
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
        timeout.start(timeoutMs);
        return loop.exec();
    }
};

QTEST_MAIN(ProgramStartTest)
#include "program_start_test.moc"
