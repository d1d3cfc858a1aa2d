// The subtitle marker left of a clip's list entry (25 × 73): enabled when
// the clip's subtitle file exists and is on, brighter under the mouse; a
// click opens the subtitle window in builder mode.
#pragma once

#include <QWidget>

namespace vt::project {
struct ClipRecord;
}
namespace vt::common {
class SharedBitmaps;
}

class TSrtImage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 25, kHeight = 73;

    TSrtImage(const vt::common::SharedBitmaps &bitmaps, QWidget *parent = nullptr);

    void setClip(const vt::project::ClipRecord *clip);
    bool showsEnabled() const;

signals:
    void clicked(TSrtImage *marker);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    const vt::common::SharedBitmaps &bitmaps_;
    const vt::project::ClipRecord *clip_ = nullptr;
    bool hovered_ = false;
};
