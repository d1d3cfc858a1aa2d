// Renders every control of the widget set, enabled and disabled, into
// build/screenshots/WidgetGallery.png, and the message boxes of the real
// dialog service into Message*.png, and the skin's picture buttons in
// their four states into SkinButtons.png, a pop-up menu into PopupMenu.png.
#include "app/widgets/exclusive_pair.h"
#include "app/widgets/qt_dialog_service.h"
#include "app/widgets/screenshot.h"
#include "app/widgets/sui_button.h"
#include "app/widgets/sui_check_box.h"
#include "app/widgets/sui_color_box.h"
#include "app/widgets/sui_combo_box.h"
#include "app/widgets/sui_font_combo_box.h"
#include "app/widgets/sui_font_size_combo_box.h"
#include "app/widgets/sui_form.h"
#include "app/widgets/sui_group_box.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/sui_image_panel.h"
#include "app/widgets/sui_list_box.h"
#include "app/widgets/sui_mask_edit.h"
#include "app/widgets/sui_memo.h"
#include "app/widgets/sui_progress_bar.h"
#include "app/widgets/sui_radio_button.h"
#include "app/widgets/sui_spin_edit.h"
#include "app/widgets/sui_string_grid.h"
#include "app/widgets/sui_title_bar.h"
#include "app/widgets/sui_track_bar.h"
#include "app/widgets/sui_url_label.h"
#include "app/widgets/test_skin.h"

#include <QDir>
#include <QEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

template <typename W>
W *place(QWidget *parent, int x, int y, int w, int h)
{
    auto *widget = new W(parent);
    widget->setGeometry(x, y, w, h);
    return widget;
}

void fillColumn(TsuiGroupBox *group)
{
    auto *ok = place<TsuiImageButton>(group, 14, 26, 84, 28);
    ok->setSkinPicture(QStringLiteral("button_accent"), vt::Skin::Fit::NineSlice);
    ok->setCaption(QStringLiteral("OK"));
    auto *cancel = place<TsuiImageButton>(group, 106, 26, 84, 28);
    cancel->setSkinPicture(QStringLiteral("button"), vt::Skin::Fit::NineSlice);
    cancel->setCaption(QStringLiteral("Cancel"));
    int x = 214;
    for (const char *tool : {"tool_home", "tool_option", "tool_help", "tool_browse", "tool_min", "tool_exit"}) {
        auto *button = place<TsuiImageButton>(group, x, 24, 32, 32);
        button->setSkinPicture(QLatin1String(tool), vt::Skin::Fit::Natural);
        x += 34;
    }

    auto *insert = place<TsuiButton>(group, 14, 66, 84, 28);
    insert->setText(QStringLiteral("Insert"));
    auto *ratio43 = place<TsuiCheckBox>(group, 112, 70, 60, 20);
    ratio43->setText(QStringLiteral(" 4:3"));
    auto *ratio169 = place<TsuiCheckBox>(group, 172, 70, 64, 20);
    ratio169->setText(QStringLiteral(" 16:9"));
    new vt::ExclusivePair(ratio43, ratio169);
    auto *ntsc = place<TsuiRadioButton>(group, 250, 70, 70, 20);
    ntsc->setText(QStringLiteral("NTSC"));
    ntsc->setChecked(true);
    auto *pal = place<TsuiRadioButton>(group, 320, 70, 70, 20);
    pal->setText(QStringLiteral("PAL"));

    auto *folder = place<TsuiEdit>(group, 14, 106, 214, 26);
    folder->setText(QStringLiteral("/home/user/Videos/Holiday DVD"));
    auto *start = place<TsuiMaskEdit>(group, 236, 106, 84, 26);
    start->setTimeMask();
    start->setTimeSeconds(765);
    auto *duration = place<TsuiSpinEdit>(group, 328, 106, 80, 26);
    duration->setRange(5, 999);
    duration->setValue(30);

    auto *language = place<TsuiComboBox>(group, 14, 142, 140, 26);
    language->addItems({QStringLiteral("English"), QStringLiteral("Deutsch"), QStringLiteral("Français")});
    auto *size = place<TsuiFontSizeComboBox>(group, 162, 142, 70, 26);
    size->setFontSize(20);
    auto *colour = place<TsuiColorBox>(group, 240, 142, 168, 26);
    colour->setColor(QColor(0x000080));

    auto *font = place<TsuiFontComboBox>(group, 14, 178, 218, 26);
    font->setCurrentFont(QFont(QStringLiteral("DejaVu Sans")));
    auto *link = place<TsuiURLLabel>(group, 246, 182, 170, 20);
    link->setText(QStringLiteral("www.vantorel.example"));
    link->setURL(QStringLiteral("https://www.vantorel.example/"));

    auto *times = place<TsuiListBox>(group, 14, 216, 110, 112);
    times->setItemHeight(18);
    times->setLines({QStringLiteral("00:00:00"), QStringLiteral("00:04:30"), QStringLiteral("00:09:15"),
                     QStringLiteral("00:13:40"), QStringLiteral("00:18:05")});
    times->setCurrentRow(1);
    auto *grid = place<TsuiStringGrid>(group, 132, 216, 276, 112);
    grid->setColumnCaptions({QStringLiteral(" File Name"), QStringLiteral(" Size (MB)"), QStringLiteral(" Duration")});
    grid->setColumnWidths({112, 84, 70});
    const char *rows[][3] = {{"VTS_01_1.VOB", "1023.9", "00:28:41"},
                             {"VTS_01_2.VOB", "1023.9", "00:28:40"},
                             {"VTS_02_1.VOB", "412.6", "00:11:32"},
                             {"VTS_03_1.VOB", "96.1", "00:02:47"}};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column)
            grid->setCell(column, row, QLatin1String(rows[row][column]));
    }
    grid->selectRow(0);

    auto *log = place<TsuiMemo>(group, 14, 338, 394, 78);
    log->setReadOnly(true);
    for (const char *line : {"Converting clip 1 of 3 >>>", "<<< Clip 1 converted: OutputVOB_1.vob",
                             "Converting clip 2 of 3 >>>"})
        log->addLine(QLatin1String(line));

    auto *bar = place<TsuiTrackBar>(group, 14, 428, 180, 24);
    bar->setRange(0, 100);
    bar->setValue(35);
    auto *progress = place<TsuiProgressBar>(group, 210, 432, 198, 16);
    progress->setValue(62);

    auto *panel = place<TsuiImagePanel>(group, 14, 462, 394, 56);
    auto *panelText = place<QLabel>(panel, 12, 8, 370, 40);
    panelText->setWordWrap(true);
    panelText->setText(QStringLiteral("Picture panel: the pages of a window sit on these. "
                                      "Skins may give them a picture of their own."));
}

} // namespace

class WidgetGalleryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { vt::applyTestSkin(); }

    void rendersEveryControlEnabledAndDisabled()
    {
        TsuiForm form;
        form.setObjectName(QStringLiteral("WidgetGallery"));
        form.setWindowTitle(QStringLiteral("Vantorel widget set"));
        form.setClientSize(868, 548);

        auto *enabled = place<TsuiGroupBox>(form.client(), 12, 8, 416, 530);
        enabled->setTitle(QStringLiteral("Enabled"));
        fillColumn(enabled);
        auto *disabled = place<TsuiGroupBox>(form.client(), 440, 8, 416, 530);
        disabled->setTitle(QStringLiteral("Disabled"));
        fillColumn(disabled);
        disabled->setEnabled(false);

        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QString file = vt::saveScreenshot(&form, QStringLiteral("WidgetGallery"));
        QVERIFY2(!file.isEmpty(), "the gallery screenshot could not be written");

        QImage shot(file);
        const qreal dpr = form.devicePixelRatioF();
        QCOMPARE(shot.size(), form.size() * dpr);
        // The title bar is drawn by the skin (dark), the client area light.
        QVERIFY(qGray(shot.pixel(shot.width() / 2, int(TsuiTitleBar::kHeight / 2 * dpr))) < 90);
        QVERIFY(qGray(shot.pixel(4, shot.height() - 4)) > 200);
    }

    // Every picture button of the skin in its four states, one row each.
    void rendersTheSkinButtonPictures()
    {
        QDir skinFolder(vt::Skin::current().folder());
        QStringList names;
        for (const QString &file : skinFolder.entryList({QStringLiteral("*_normal.svg")}, QDir::Files, QDir::Name))
            names << file.chopped(int(strlen("_normal.svg")));
        QVERIFY(names.contains(QStringLiteral("mode_builder")));

        const QMap<QString, QString> captions = {
            {QStringLiteral("mode_builder"), QStringLiteral("One-Step Builder")},
            {QStringLiteral("mode_converter"), QStringLiteral("Converter")},
            {QStringLiteral("mode_compiler"), QStringLiteral("Compiler")},
            {QStringLiteral("mode_burner"), QStringLiteral("Burner")},
        };
        QWidget sheet;
        sheet.setObjectName(QStringLiteral("SkinButtons"));
        sheet.setAttribute(Qt::WA_StyledBackground);
        sheet.setStyleSheet(QStringLiteral("QWidget#SkinButtons { background: #eef2f7; }"));
        const char *states[] = {"normal", "mouse-over", "pressed", "disabled"};
        int y = 8;
        for (const QString &name : names) {
            bool frame = name.startsWith(QLatin1String("button"));
            bool tile = name.startsWith(QLatin1String("mode_"));
            bool title = name.startsWith(QLatin1String("title_"));
            QSize size = frame ? QSize(96, 28) : tile ? QSize(120, 120) : title ? QSize(34, 30) : QSize(32, 32);
            auto *label = new QLabel(name, &sheet);
            label->setGeometry(8, y, 150, size.height());
            for (int state = 0; state < 4; ++state) {
                // Title bar buttons are shown on their bar.
                QWidget *holder = &sheet;
                if (title) {
                    holder = new TsuiTitleBar(&sheet);
                    for (QWidget *child : holder->findChildren<QWidget *>())
                        child->hide();
                    holder->setGeometry(160 + state * 136, y, 136, size.height());
                }
                auto *button = new TsuiImageButton(holder);
                button->setGeometry(title ? 0 : 160 + state * 136, title ? 0 : y, size.width(), size.height());
                button->setSkinPicture(name, frame ? vt::Skin::Fit::NineSlice : vt::Skin::Fit::Natural);
                if (frame)
                    button->setCaption(QLatin1String(states[state]));
                if (tile) {
                    button->setCaption(captions.value(name));
                    button->setCaptionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
                }
                if (state == 1) {
                    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
                    QCoreApplication::sendEvent(button, &enter);
                }
                button->setDown(state == 2);
                button->setEnabled(state != 3);
            }
            y += size.height() + 8;
        }
        sheet.resize(160 + 4 * 136, y);
        sheet.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QVERIFY(!vt::saveScreenshot(&sheet, QStringLiteral("SkinButtons")).isEmpty());
    }

    void rendersAPopUpMenu()
    {
        QMenu menu;
        menu.setObjectName(QStringLiteral("PopupMenu"));
        menu.addAction(QStringLiteral("Vantorel Help"));
        menu.addSeparator();
        menu.addAction(QStringLiteral("About Vantorel"));
        menu.addSeparator();
        for (const char *language : {"Deutsch", "English", "Fran\u00e7ais"}) {
            QAction *entry = menu.addAction(QString::fromUtf8(language));
            entry->setCheckable(true);
            if (QLatin1String(language) == QLatin1String("English")) {
                entry->setChecked(true);
                menu.setDefaultAction(entry);
            }
        }
        menu.popup(QPoint(100, 100));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        menu.setActiveAction(menu.actions().at(2));
        QVERIFY(!vt::saveScreenshot(&menu, QStringLiteral("PopupMenu")).isEmpty());
    }

    void rendersTheFileDialog()
    {
        vt::FileDialogRequest request;
        request.caption = QStringLiteral("Add video files");
        request.filter = QStringLiteral("Video Files (*.avi;*.mpg;*.mp4)|*.avi;*.mpg;*.mp4|All Files (*.*)|*.*");
        request.initialFolder = vt::Skin::current().folder();
        std::unique_ptr<QFileDialog> dialog = vt::createFileDialog(nullptr, request, vt::FileDialogMode::Open);
        dialog->resize(640, 400);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::qWait(50); // the folder is listed in the background
        QVERIFY(!vt::saveScreenshot(dialog.get(), QStringLiteral("FileDialog")).isEmpty());
    }

    void rendersTheMessageBoxes()
    {
        struct Case {
            const char *name;
            vt::MessageIcon icon;
            vt::MessageButtons buttons;
            const char *text;
        };
        const Case cases[] = {
            {"MessageInformation", vt::MessageIcon::Information, vt::MessageButtons::Ok, "Add OK!"},
            {"MessageQuestion", vt::MessageIcon::Question, vt::MessageButtons::YesNo,
             "The disc in the drive is not empty. Erase it before burning?"},
            {"MessageError", vt::MessageIcon::Error, vt::MessageButtons::OkCancel,
             "The converter library could not be loaded."},
        };
        for (const Case &c : cases) {
            std::unique_ptr<TsuiMessageBox> box =
                vt::createMessageBox(nullptr, QStringLiteral("Vantorel"), QLatin1String(c.text), c.icon, c.buttons);
            box->show();
            QVERIFY(QTest::qWaitForWindowExposed(box.get()));
            QVERIFY(!vt::saveScreenshot(box.get(), QLatin1String(c.name)).isEmpty());
        }
    }
};

QTEST_MAIN(WidgetGalleryTest)
#include "widget_gallery_test.moc"
