// LocalizeForm changes the texts each control says it carries, and only what
// the language file gives; ApplyUILanguage lets a window localise itself.
#include "app/common/extra_ui_texts.h"
#include "app/common/ui_language.h"
#include "app/shell/localize_form.h"
#include "app/widgets/label.h"
#include "app/widgets/localized_texts.h"
#include "app/widgets/qt_dialog_service.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_title_bar.h"
#include "app/widgets/sui_url_label.h"
#include "app/widgets/test_skin.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char *kLanguage = "[TestWindow]\n"
                        "Label1-Caption=Erste Zeile\n"
                        "Label1-FontName=DejaVu Serif\n"
                        "Link-Caption=never shown\n"
                        "Group-Caption=Gruppe\n"
                        "Group-FontSize=11\n"
                        "Box-Caption=nodef\n"
                        "Button-Hint=Knopf\n"
                        "PlainBox-Caption=never shown\n"
                        "Marked-Caption=Markiert\n";

class SelfLocalizing : public QWidget, public vt::shell::LocalizedWindow {
public:
    void localize(const vt::common::UiLanguage &) override { ++calls; }
    int calls = 0;
};

} // namespace

class LocalizeFormTest : public QObject {
    Q_OBJECT

private slots:
    void controlsAreChosenByTheTextsTheyCarry()
    {
        QTemporaryDir dir;
        QFile file(dir.path() + "/Test.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kLanguage);
        file.close();
        vt::common::UiLanguage language(dir.path().toStdString());
        QVERIFY(language.LoadUILanguage("Test.ini"));

        QWidget window;
        window.setObjectName(QStringLiteral("TestWindow"));
        auto *label = new TLabel(&window);
        label->setObjectName(QStringLiteral("Label1"));
        label->setText(QStringLiteral("Designed"));
        QFont big = label->font();
        big.setPointSize(14);
        label->setFont(big);
        auto *link = new TsuiURLLabel(&window);
        link->setObjectName(QStringLiteral("Link"));
        link->setText(QStringLiteral("www.vantorel.example"));
        auto *group = new TsuiGroupBox(&window);
        group->setObjectName(QStringLiteral("Group"));
        auto *box = new TsuiCheckBox(&window);
        box->setObjectName(QStringLiteral("Box"));
        box->setText(QStringLiteral(" Designed box"));
        auto *button = new TsuiImageButton(&window);
        button->setObjectName(QStringLiteral("Button"));
        button->setToolTip(QStringLiteral("Designed hint"));
        auto *silent = new TsuiImageButton(&window);
        silent->setObjectName(QStringLiteral("Silent"));
        silent->setToolTip(QStringLiteral("Designed hint"));

        // A control of another class carries no texts unless it says so.
        auto *plainBox = new QCheckBox(&window);
        plainBox->setObjectName(QStringLiteral("PlainBox"));
        plainBox->setText(QStringLiteral("Designed"));
        auto *marked = new QLabel(&window);
        marked->setObjectName(QStringLiteral("Marked"));
        vt::setLocalizedTexts(marked, vt::LocalizedTexts::Caption);

        vt::shell::LocalizeForm(&window, language);

        // The caption's font: the name given, size 8 when none is given.
        QCOMPARE(label->text(), QStringLiteral("Erste Zeile"));
        QCOMPARE(label->font().family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(label->font().pointSize(), 8);
        // A link label is a label of another class: untouched.
        QCOMPARE(link->text(), QStringLiteral("www.vantorel.example"));
        QCOMPARE(group->title(), QStringLiteral("Gruppe"));
        QCOMPARE(group->font().pointSize(), 11);
        // "nodef": nothing of the box changes.
        QCOMPARE(box->text(), QStringLiteral(" Designed box"));
        QCOMPARE(button->toolTip(), QStringLiteral("Knopf"));
        // No hint in the file: the designed one stays.
        QCOMPARE(silent->toolTip(), QStringLiteral("Designed hint"));
        QCOMPARE(plainBox->text(), QStringLiteral("Designed"));
        QCOMPARE(marked->text(), QStringLiteral("Markiert"));

        SelfLocalizing own;
        QWidget plain;
        plain.setObjectName(QStringLiteral("TestWindow"));
        auto *plainLabel = new TLabel(&plain);
        plainLabel->setObjectName(QStringLiteral("Label1"));
        vt::shell::ApplyUILanguage({&own, &plain}, language);
        QCOMPARE(own.calls, 1);
        QCOMPARE(plainLabel->text(), QStringLiteral("Erste Zeile"));
    }

    void aLanguageWithoutATextGivesBackTheDesignedOne()
    {
        QTemporaryDir dir;
        for (auto [name, content] : {std::pair {"/Full.ini", "[TestWindow]\nTestWindow-Caption=Fenster\n"
                                                             "Label1-Caption=Erste Zeile\nLabel1-FontSize=12\n"
                                                             "Label2-Caption=Zweite Zeile\n"
                                                             "Button-Caption=Weiter\nButton-Hint=Knopf\n"},
                                     std::pair {"/Empty.ini", "[Text]\n"}}) {
            QFile file(dir.path() + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        vt::common::UiLanguage language(dir.path().toStdString());

        QWidget window;
        window.setObjectName(QStringLiteral("TestWindow"));
        window.setWindowTitle(QStringLiteral("Window"));
        auto *label = new TLabel(&window);
        label->setObjectName(QStringLiteral("Label1"));
        label->setText(QStringLiteral("First line"));
        auto *live = new TLabel(&window);
        live->setObjectName(QStringLiteral("Label2"));
        live->setText(QStringLiteral("Second line"));
        auto *button = new TsuiImageButton(&window);
        button->setObjectName(QStringLiteral("Button"));
        button->setCaption(QStringLiteral("Next"));
        button->setToolTip(QStringLiteral("Go on"));
        const QFont designedFont = button->font();

        QVERIFY(language.LoadUILanguage("Full.ini"));
        vt::shell::LocalizeForm(&window, language);
        QCOMPARE(window.windowTitle(), QStringLiteral("Fenster"));
        QCOMPARE(label->text(), QStringLiteral("Erste Zeile"));
        QCOMPARE(label->font().pointSize(), 12);
        QCOMPARE(button->caption(), QStringLiteral("Weiter"));
        QCOMPARE(button->toolTip(), QStringLiteral("Knopf"));
        QCOMPARE(button->font(), designedFont);  // picture buttons keep the skin's font
        // The window shows a text of its own in the second label meanwhile.
        live->setText(QStringLiteral("12 MB of 4300 MB"));

        QVERIFY(language.LoadUILanguage("Empty.ini"));
        vt::shell::LocalizeForm(&window, language);
        QCOMPARE(window.windowTitle(), QStringLiteral("Window"));
        QCOMPARE(label->text(), QStringLiteral("First line"));
        QCOMPARE(label->font(), QFont());  // inherited again
        QCOMPARE(live->text(), QStringLiteral("12 MB of 4300 MB"));
        QCOMPARE(button->caption(), QStringLiteral("Next"));
        QCOMPARE(button->toolTip(), QStringLiteral("Go on"));

        // And back again.
        QVERIFY(language.LoadUILanguage("Full.ini"));
        vt::shell::LocalizeForm(&window, language);
        QCOMPARE(label->text(), QStringLiteral("Erste Zeile"));
        QCOMPARE(button->toolTip(), QStringLiteral("Knopf"));
    }

    // The message boxes speak the language put on the program, and give
    // the English buttons back when switched back; rendered for a look.
    void messageBoxesTakeTheLanguagesButtonCaptions()
    {
        vt::applyTestSkin();
        const QString bin = qEnvironmentVariable("VANTOREL_BIN_DIR", QStringLiteral(VANTOREL_BIN_DIR));
        vt::common::UiLanguage language((bin + "/Lang/").toStdString());
        const auto text = [&language](int number) { return QString::fromStdString(language.GetUIText(number)); };
        struct Box {
            const char *name;
            vt::MessageIcon icon;
            vt::MessageButtons buttons;
            QString text;
        };
        const struct {
            const char *file;
            QString yes, no, ok, close, fileDialogCancel;
        } languages[] = {{"Deutsch", "Ja", "Nein", "OK", "Schließen", "Abbrechen"},
                         {"English", "Yes", "No", "OK", "Close", "Cancel"}};
        for (const auto &expected : languages) {
            QVERIFY(language.LoadUILanguage(std::string(expected.file) + ".ini"));
            vt::shell::ApplyUILanguage({}, language);
            // Qt's own dialogs follow (their buttons and labels).
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), expected.fileDialogCancel);
            const Box boxes[] = {
                {"MessageInformation", vt::MessageIcon::Information, vt::MessageButtons::Ok,
                 text(vt::common::kNoOpenerText) + "/home/user/Videos/Vantorel/Output/2026-12-10 Holiday/VIDEO_TS"},
                {"MessageWarning", vt::MessageIcon::Warning, vt::MessageButtons::YesNoDefaultNo,
                 text(vt::common::kDiscardClipsText)},
                {"MessageQuestion", vt::MessageIcon::Question, vt::MessageButtons::YesNo,
                 text(vt::common::kStopQuestionText)},
            };
            for (const Box &box : boxes) {
                std::unique_ptr<TsuiMessageBox> shown =
                    vt::createMessageBox(nullptr, QStringLiteral("Vantorel"), box.text, box.icon, box.buttons);
                QCOMPARE(shown->titleBar()->closeButton()->toolTip(), expected.close);
                if (QPushButton *yes = shown->button(vt::MessageAnswer::Yes)) {
                    QCOMPARE(yes->text(), expected.yes);
                    QCOMPARE(shown->button(vt::MessageAnswer::No)->text(), expected.no);
                } else {
                    QCOMPARE(shown->button(vt::MessageAnswer::Ok)->text(), expected.ok);
                }
                shown->show();
                QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
                const QString name = QString("%1_%2").arg(QLatin1String(box.name), QLatin1String(expected.file));
                QVERIFY(!vt::saveScreenshot(shown.get(), name).isEmpty());
            }
        }
    }
};

QTEST_MAIN(LocalizeFormTest)
#include "localize_form_test.moc"
