#include "app/project/range_bar.h"

#include <QMouseEvent>

#include <algorithm>
#include <QPainter>
#include <QPainterPath>

using vt::project::HandlePositions;

namespace {

// A handle or the stretch: drawn by the bar's look, dragged through the bar.
class RangeBarPart : public QWidget {
public:
    RangeBarPart(const char *name, bool handle, QWidget *parent)
        : QWidget(parent)
        , handle_(handle)
    {
        setObjectName(QLatin1String(name));
        setCursor(handle ? Qt::SizeHorCursor : Qt::OpenHandCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (handle_) {
            const QColor face = isEnabled() ? QColor(0xe8, 0xee, 0xf6) : QColor(0x8a, 0x92, 0x9e);
            QPainterPath path;
            path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
            painter.fillPath(path, face);
            painter.setPen(QColor(0x1d, 0x26, 0x35));
            painter.drawPath(path);
            painter.drawLine(width() / 2, 6, width() / 2, height() - 7);
        } else if (width() > 0) {
            QLinearGradient gradient(0, 0, 0, height());
            gradient.setColorAt(0, QColor(0x7f, 0xc4, 0xff));
            gradient.setColorAt(1, QColor(0x2f, 0x7f, 0xd8));
            painter.fillRect(rect().adjusted(0, 5, 0, -5), gradient);
        }
    }

private:
    bool handle_;
};

} // namespace

TRangeBar::TRangeBar(QWidget *parent)
    : QWidget(parent)
    , leftLimit_(geometry_.travel())
{
    setObjectName(QStringLiteral("Panel_Progress"));
    resize(geometry_.background, kHeight);
    Image_Stretch = new RangeBarPart("Image_Stretch", false, this);
    Image_Left = new RangeBarPart("Image_Left", true, this);
    Image_Right = new RangeBarPart("Image_Right", true, this);
    for (QWidget *part : {Image_Left, Image_Right, Image_Stretch})
        part->installEventFilter(this);
    setHandles(vt::project::PlaceHandles(0, 0, 0, geometry_));
}

QWidget *TRangeBar::part(Part which) const
{
    return which == Part::Left ? Image_Left : which == Part::Right ? Image_Right : Image_Stretch;
}

void TRangeBar::setHandles(const HandlePositions &handles)
{
    handles_ = handles;
    placeParts();
}

void TRangeBar::setLeftLimit(int left, const QString &hint)
{
    leftLimit_ = std::clamp(left, 0, geometry_.travel());
    Image_Left->setToolTip(hint);
}

void TRangeBar::placeParts()
{
    const int w = geometry_.handleWidth;
    Image_Left->setGeometry(handles_.left, 0, w, kHeight);
    Image_Right->setGeometry(handles_.right, 0, w, kHeight);
    Image_Stretch->setGeometry(handles_.left + w, 0, std::max(0, handles_.right - handles_.left - w), kHeight);
    Image_Left->setEnabled(handles_.enabled);
    Image_Right->setEnabled(handles_.enabled);
    Image_Stretch->setEnabled(handles_.enabled);
}

void TRangeBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath track;
    track.addRoundedRect(QRectF(0, 7, width(), height() - 14), 4, 4);
    painter.fillPath(track, QColor(0x1d, 0x26, 0x35));
}

bool TRangeBar::eventFilter(QObject *watched, QEvent *event)
{
    auto *part = static_cast<QWidget *>(watched);
    const auto which = part == Image_Left ? Part::Left : part == Image_Right ? Part::Right : Part::Stretch;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !part->isEnabled())
            return false;
        dragged_ = part;
        pressX_ = qRound(mouse->globalPosition().x());
        pressHandles_ = handles_;
        return true;
    }
    case QEvent::MouseMove: {
        if (dragged_ != part)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        const int dx = qRound(mouse->globalPosition().x()) - pressX_;
        if (which == Part::Left)
            handles_ = vt::project::DragLeftHandle(pressHandles_, pressHandles_.left + dx, geometry_);
        else if (which == Part::Right)
            handles_ = vt::project::DragRightHandle(pressHandles_, pressHandles_.right + dx, geometry_);
        else
            handles_ = vt::project::DragStretch(pressHandles_, pressHandles_.left + dx, geometry_);
        if (which != Part::Right && handles_.left > leftLimit_) {
            const int back = handles_.left - leftLimit_;
            handles_.left -= back;
            if (which == Part::Stretch)
                handles_.right -= back;
        }
        placeParts();
        emit dragging(which);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (dragged_ != part || mouse->button() != Qt::LeftButton)
            return false;
        dragged_ = nullptr;
        emit released(which);
        return true;
    }
    default:
        return false;
    }
}
