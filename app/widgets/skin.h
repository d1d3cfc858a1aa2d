// The skin: a Qt style sheet and the pictures it and the picture buttons
// use, read from the "Skin/" folder of the program folder.
//
// Folder layout:
//   skin.qss          style sheet; "%SKIN%" stands for the skin folder
//   palette.ini       optional colours of the application palette, one
//                     "Role = #rrggbb" a line (QPalette role names; the
//                     prefix "Disabled" sets the disabled group's colour),
//                     '#' or ';' at the start of a line for comments.
//                     Controls without a style sheet rule for their
//                     colours (labels, check boxes) draw with these, so a
//                     window can still colour one label through its palette.
//   NAME.svg|NAME.png a picture; SVG is preferred and rendered to size
//   NAME_normal, NAME_hover, NAME_pressed, NAME_disabled
//                     explicit state pictures of a picture button; states
//                     that are missing are derived from the normal one
#pragma once

#include "app/widgets/button_pictures.h"

#include <QPalette>
#include <QSize>
#include <QString>

class QApplication;

namespace vt {

class Skin {
public:
    // How a picture is fitted into the size asked for.
    enum class Fit {
        Natural,   // the picture's own size (size asked for is ignored)
        Scale,     // scaled into the size, aspect ratio kept, centred
        NineSlice, // corners kept, edges and centre stretched (frames)
    };

    // The corner size of nine-slice frame pictures, in pixels.
    static constexpr int kFrameCorner = 6;

    // Reads folder + "skin.qss". On failure returns false, errorString()
    // says why and the skin keeps what it had.
    bool load(const QString &folder);
    // load(ExePath() + "Skin/").
    bool loadFromProgramFolder();

    bool isLoaded() const { return !folder_.isEmpty(); }
    // The skin folder, with a trailing '/'; empty when nothing is loaded.
    const QString &folder() const { return folder_; }
    const QString &styleSheet() const { return styleSheet_; }
    const QPalette &palette() const { return palette_; }
    const QString &errorString() const { return error_; }

    // The file of picture NAME (SVG first, then PNG), or "" when missing.
    QString pictureFile(const QString &name) const;
    // Picture NAME fitted into size (device-independent pixels); a null
    // pixmap when it is missing. SVG pictures are rendered sharp for the
    // device pixel ratio dpr (the pixmap carries it).
    QPixmap picture(const QString &name, QSize size = {}, Fit fit = Fit::Natural, qreal dpr = 1.0) const;
    // The four state pictures of button NAME (see the folder layout).
    ButtonPictures buttonPictures(const QString &name, QSize size = {}, Fit fit = Fit::Natural,
                                  qreal dpr = 1.0) const;

    // Puts the palette and the style sheet on the application (on a Fusion
    // base style, so the look is the same on every desktop).
    void apply(QApplication &app) const;

    // The skin the program's widgets draw with.
    static Skin &current();

private:
    QString folder_;
    QString styleSheet_;
    QPalette palette_;
    QString error_;
};

} // namespace vt
