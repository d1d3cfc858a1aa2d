// Every text a window of the program shows under a control name is in the
// shipped language files, fits its control in each language, and switching
// between the languages gives the designed texts back. The windows are
// walked as they are built, so new windows and controls are covered as
// they come.
#include "app/shell/localize_form.h"
#include "app/shell/test_program_windows.h"
#include "app/common/ui_language.h"
#include "app/widgets/localized_texts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

namespace {

using vt::LocalizedTexts;

// One text of one control: its key in the window's section and what it shows.
struct ShownText {
    QWidget *control;
    std::string section, key;
    QString text;
    bool isHint;
};

QString captionOf(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return control->isWindow() ? control->windowTitle() : QString();
}

// The texts a language file replaces, of every named control that shows one.
std::vector<ShownText> shownTexts(const std::vector<QWidget *> &windows)
{
    std::vector<ShownText> texts;
    for (QWidget *window : windows) {
        const std::string section = window->objectName().toStdString();
        if (!window->windowTitle().isEmpty())
            texts.push_back({window, section, section + "-Caption", window->windowTitle(), false});
        for (QWidget *control : window->findChildren<QWidget *>()) {
            const std::string name = control->objectName().toStdString();
            const LocalizedTexts kind = vt::localizedTextsOf(control);
            if (name.empty() || kind == LocalizedTexts::None)
                continue;
            if (kind != LocalizedTexts::Hint && !captionOf(control).isEmpty())
                texts.push_back({control, section, name + "-Caption", captionOf(control), false});
            if (kind != LocalizedTexts::Caption && !control->toolTip().isEmpty())
                texts.push_back({control, section, name + "-Hint", control->toolTip(), true});
        }
    }
    return texts;
}

QString shownNow(const ShownText &text)
{
    return text.isHint ? text.control->toolTip() : captionOf(text.control);
}

// The room a caption has in its control, in pixels; -1: it wraps or scrolls
// by design (word-wrapped labels), so only its lines are not checked.
int roomFor(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->wordWrap() ? -1 : label->contentsRect().width() - label->indent() - 2 * label->margin();
    if (qobject_cast<const QCheckBox *>(control) || qobject_cast<const QRadioButton *>(control)) {
        const int indicator = control->style()->pixelMetric(qobject_cast<const QCheckBox *>(control)
                                                                ? QStyle::PM_IndicatorWidth
                                                                : QStyle::PM_ExclusiveIndicatorWidth,
                                                            nullptr, control);
        return control->width() - indicator - 8;
    }
    if (auto *group = qobject_cast<const QGroupBox *>(control))
        return group->width() - 24;
    if (qobject_cast<const QAbstractButton *>(control))
        return control->width() - 8;
    return -1;
}

// Captions that do not fit their control, as "window/control: text".
QStringList captionsThatDoNotFit(const std::vector<ShownText> &texts)
{
    QStringList cut;
    for (const ShownText &text : texts) {
        if (text.isHint || text.control->isWindow() || !text.control->isVisibleTo(text.control->window()))
            continue;
        const int room = roomFor(text.control);
        if (room < 0)
            continue;
        const QFontMetrics metrics(text.control->font());
        for (const QString &line : captionOf(text.control).split('\n'))
            if (metrics.horizontalAdvance(QString(line).remove('&')) > room)
                cut << QString::fromStdString(text.section + "/" + text.key) + ": " + line;
    }
    return cut;
}

} // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT

private slots:
    void everyShownTextHasItsEntryInEveryShippedLanguage()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        const std::vector<ShownText> texts = shownTexts(windows->inOrder());
        QVERIFY(texts.size() > 100);
        for (const char *file : {"English.ini", "Deutsch.ini"}) {
            const vt::IniFile language(folder.file("Lang/") + file);
            QStringList missing;
            for (const ShownText &text : texts)
                if (!language.hasKey(text.section, text.key))
                    missing << QString::fromStdString("[" + text.section + "] " + text.key + "=") + text.text;
            if (!missing.isEmpty())  // the whole list: a failure message is cut short
                qWarning().noquote() << file << "lacks:\n" + missing.join('\n');
            QVERIFY2(missing.isEmpty(), qPrintable(QString(file) + " lacks " + QString::number(missing.size()) + " entries"));
        }
    }

    void englishGivesTheDesignedTextsAndSwitchingBackRestoresThem()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        const std::vector<ShownText> texts = shownTexts(windows->inOrder());
        QVERIFY(folder.language.LoadUILanguage("English.ini"));
        vt::shell::ApplyUILanguage(windows->inOrder(), folder.language);
        QStringList changed;
        for (const ShownText &text : texts)
            if (shownNow(text) != text.text)
                changed << QString::fromStdString(text.section + "/" + text.key) + ": " + text.text + " → "
                               + shownNow(text);
        QVERIFY2(changed.isEmpty(), qPrintable("English.ini differs from the windows:\n" + changed.join('\n')));

        QVERIFY(folder.language.LoadUILanguage("Deutsch.ini"));
        vt::shell::ApplyUILanguage(windows->inOrder(), folder.language);
        int translated = 0;
        for (const ShownText &text : texts)
            translated += shownNow(text) != text.text;
        QVERIFY(translated > static_cast<int>(texts.size()) / 2);

        // A language file without window sections (only numbered texts) and
        // English again: the designed texts are back without a restart.
        QFile bare(folder.path() + "Lang/Bare.ini");
        QVERIFY(bare.open(QIODevice::WriteOnly));
        bare.write("[Text]\n13=English\n");
        bare.close();
        for (const char *file : {"Bare.ini", "Deutsch.ini", "English.ini"}) {
            QVERIFY(folder.language.LoadUILanguage(file));
            vt::shell::ApplyUILanguage(windows->inOrder(), folder.language);
        }
        QVERIFY(folder.language.LoadUILanguage("Deutsch.ini"));
        vt::shell::ApplyUILanguage(windows->inOrder(), folder.language);
        QVERIFY(folder.language.LoadUILanguage("Bare.ini"));
        vt::shell::ApplyUILanguage(windows->inOrder(), folder.language);
        QStringList stale;
        for (const ShownText &text : texts)
            if (shownNow(text) != text.text)
                stale << QString::fromStdString(text.section + "/" + text.key) + ": " + shownNow(text);
        QVERIFY2(stale.isEmpty(), qPrintable("not restored:\n" + stale.join('\n')));
    }

    void captionsFitTheirControlsInEveryLanguage()
    {
        vt::common::TestProgramFolder folder;
        auto windows = vt::shell::createProgramWindows(folder);
        for (QWidget *window : windows->inOrder())
            window->ensurePolished();
        const std::vector<ShownText> texts = shownTexts(windows->inOrder());
        for (const char *file : {"English.ini", "Deutsch.ini"}) {
            QVERIFY(folder.language.LoadUILanguage(file));
            vt::shell::ApplyUILanguage(windows->inOrder(), folder.language);
            const QStringList cut = captionsThatDoNotFit(texts);
            QVERIFY2(cut.isEmpty(), qPrintable(QString(file) + ": captions cut off:\n" + cut.join('\n')));
        }
    }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
