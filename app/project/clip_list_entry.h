// One clip's row in the clip list (409 × 77): its frame bitmap (selected or
// not, mouse over or not), the thumbnail and four lines of facts.
#pragma once

#include <QFont>
#include <QWidget>

namespace vt::project {
struct ClipRecord;
}
namespace vt::common {
class SharedBitmaps;
class UiLanguage;
}

class TSetupImage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 409, kHeight = 77;

    TSetupImage(const vt::common::UiLanguage &language, const vt::common::SharedBitmaps &bitmaps,
                QWidget *parent = nullptr);

    void setClip(const vt::project::ClipRecord *clip);
    const vt::project::ClipRecord *clip() const { return clip_; }
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    // The four text lines as drawn (name, video, audio, times).
    QStringList factLines() const;
    // The lines' font and width: a full HD clip's video line fits unshortened.
    static QFont factsFont();
    static constexpr int kFactsLeft = 112, kFactsWidth = 392 - kFactsLeft;

signals:
    void leftClicked(TSetupImage *entry);
    void rightReleased(TSetupImage *entry, const QPoint &globalPosition);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString text(int number) const;

    const vt::common::UiLanguage &language_;
    const vt::common::SharedBitmaps &bitmaps_;
    const vt::project::ClipRecord *clip_ = nullptr;
    bool selected_ = false;
    bool hovered_ = false;
};
