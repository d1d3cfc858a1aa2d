// The trimming range bar: a left and a right handle on a 242-pixel track,
// and the stretch between them that moves both. The bar keeps the handles
// within their limits while they are dragged and says which part moved;
// the clip list turns positions into times.
#pragma once

#include "app/project/trim_range.h"

#include <QWidget>

class TRangeBar : public QWidget {
    Q_OBJECT

public:
    enum class Part { Left, Right, Stretch };
    static constexpr int kHeight = 22;

    explicit TRangeBar(QWidget *parent = nullptr);

    void setHandles(const vt::project::HandlePositions &handles);
    const vt::project::HandlePositions &handles() const { return handles_; }
    // The furthest right the left handle may be dragged (the stretch stops
    // there too); hint: why it stops, shown on the left handle.
    void setLeftLimit(int left, const QString &hint);
    int leftLimit() const { return leftLimit_; }
    QWidget *part(Part which) const;

signals:
    void dragging(TRangeBar::Part part);
    void released(TRangeBar::Part part);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeParts();

    vt::project::RangeBarGeometry geometry_;
    vt::project::HandlePositions handles_;
    int leftLimit_;
    QWidget *Image_Left, *Image_Right, *Image_Stretch;
    // Drag state: the cursor's x at the press and the handles then.
    QWidget *dragged_ = nullptr;
    int pressX_ = 0;
    vt::project::HandlePositions pressHandles_;
};
