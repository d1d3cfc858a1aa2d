// A clip's entry in the menu editor's clip strip (92 × 72): the strip frame
// of its state and the clip's snapshot fitted into 80 × 60 with black bars.
#pragma once

#include <QImage>
#include <QWidget>

namespace vt::project {
struct ClipRecord;
}
namespace vt::common {
class SharedBitmaps;
}

class TMenuImage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 92, kHeight = 72;
    static constexpr int kThumbX = 5, kThumbY = 6, kThumbWidth = 80, kThumbHeight = 60;

    TMenuImage(const vt::project::ClipRecord &clip, const vt::common::SharedBitmaps &bitmaps, QWidget *parent = nullptr);

    const vt::project::ClipRecord &clip() const { return clip_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }
    // Redraws the thumbnail from the clip's snapshot.
    void refreshThumbnail();

signals:
    void clicked(TMenuImage *entry);
    void menuRequested(TMenuImage *entry, QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const vt::project::ClipRecord &clip_;
    const vt::common::SharedBitmaps &bitmaps_;
    QImage thumbnail_;
    bool selected_ = false;
    bool mouseOver_ = false;
};
