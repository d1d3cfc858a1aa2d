// The about window's links when no desktop program can open them.
#include "app/common/test_program_folder.h"
#include "app/shell/about_window.h"
#include "app/widgets/desktop_opener.h"
#include "app/widgets/scripted_dialog_service.h"
#include "app/widgets/sui_url_label.h"

#include <QTest>

class AboutWindowTest : public QObject {
    Q_OBJECT

private slots:
    void aLinkNoProgramOpensShowsItsAddress_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("language"); // "" for none
        QTest::addColumn<QString>("shown");

        QTest::newRow("home page") << "suiURLLabel2" << ""
                                   << "There is no program to open this with (xdg-open is missing or failed). "
                                      "You can open it yourself:\nhttps://www.vantorel.example/";
        // The mail address without its "mailto:", in the window's language.
        QTest::newRow("mail, German") << "suiURLLabel1" << "Deutsch.ini"
                                      << "Es gibt kein Programm zum Öffnen (xdg-open fehlt oder schlug fehl). "
                                         "Sie können es selbst öffnen:\nsupport@vantorel.example";
    }

    void aLinkNoProgramOpensShowsItsAddress()
    {
        QFETCH(QString, link);
        QFETCH(QString, language);
        QFETCH(QString, shown);

        vt::common::TestProgramFolder folder;
        TAboutWindow about(folder.file("version.ini"));
        if (!language.isEmpty()) {
            vt::common::UiLanguage texts(folder.file("Lang/"));
            QVERIFY(texts.LoadUILanguage(language.toStdString()));
            about.localize(texts);
        }
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));

        QList<QUrl> tried;
        vt::DesktopOpener previous = vt::setDesktopOpener([&tried](const QUrl &url) {
            tried << url;
            return false;
        });
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService installed(dialogs);
        auto *label = about.findChild<TsuiURLLabel *>(link);
        QVERIFY(label);
        QTest::mouseClick(label, Qt::LeftButton);
        vt::setDesktopOpener(previous);

        QCOMPARE(tried, QList<QUrl>({label->url()}));
        QCOMPARE(dialogs.messageTexts(), QStringList({shown}));
        QCOMPARE(dialogs.shown().front().icon, vt::MessageIcon::Information);
        QVERIFY(about.isVisible()); // the about window stays open behind it
    }

    void aLinkThatOpensShowsNoMessage()
    {
        vt::common::TestProgramFolder folder;
        TAboutWindow about(folder.file("version.ini"));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        vt::DesktopOpener previous = vt::setDesktopOpener([](const QUrl &) { return true; });
        vt::ScriptedDialogService dialogs;
        vt::ScopedDialogService installed(dialogs);
        QTest::mouseClick(about.findChild<TsuiURLLabel *>(QStringLiteral("suiURLLabel2")), Qt::LeftButton);
        vt::setDesktopOpener(previous);
        QVERIFY(dialogs.shown().empty());
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
