// The title and chapter buttons on the editor's preview panel: the picture
// inside an 8-pixel border that shows the frame of its state, grabbed by
// its hit zones. The window owns the design; a button view only draws one
// element and reports what the mouse does to it.
#pragma once

#include "app/menu/button_rules.h"
#include "app/menu/menu_design.h"

#include <QWidget>

class TButtonImage : public QWidget {
    Q_OBJECT

public:
    explicit TButtonImage(QWidget *parent = nullptr);

    // Takes the element's bounds and drawing flags and redraws the picture
    // at the picture area.
    void setButton(const vt::menu::MenuButton &button, const QImage &picture);
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    bool isMouseOver() const { return mouseOver_; }
    // The picture as drawn inside the border.
    const QImage &shownPicture() const { return shown_; }

signals:
    void pressed(TButtonImage *button, vt::menu::HitZone zone, QPoint globalPosition);
    void dragged(TButtonImage *button, QPoint globalPosition);
    void released(TButtonImage *button, vt::menu::HitZone zone, bool moved);
    void doubleClicked(TButtonImage *button);
    void menuRequested(TButtonImage *button, QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QImage shown_;
    bool selected_ = false;
    bool mouseOver_ = false;
    bool dragging_ = false;
    bool moved_ = false;
    vt::menu::HitZone zone_ = vt::menu::HitZone::Move;
};

// A chapter button: shows its own picture; knows its place on its page.
class TSubButtonImage : public TButtonImage {
    Q_OBJECT

public:
    TSubButtonImage(int chapterIndex, QWidget *parent = nullptr)
        : TButtonImage(parent)
        , chapterIndex_(chapterIndex)
    {
    }
    int chapterIndex() const { return chapterIndex_; }

private:
    int chapterIndex_;
};

// The cursor of a hit zone.
Qt::CursorShape CursorForZone(vt::menu::HitZone zone);
// A colour value (0x00BBGGRR) as a colour.
QColor ColourOfValue(uint32_t value);
