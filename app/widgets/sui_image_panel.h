// A panel that shows a picture stretched over its area (the pages of the
// windows sit on these); without a picture the skin draws its background.
#pragma once

#include <QPixmap>
#include <QWidget>

class TsuiImagePanel : public QWidget {
    Q_OBJECT

public:
    explicit TsuiImagePanel(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return picture_; }
    // A picture of the current skin, stretched as a nine-slice frame and
    // re-rendered when the panel's size changes.
    void setSkinPicture(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QPixmap picture_;
    QString skinName_;
};
