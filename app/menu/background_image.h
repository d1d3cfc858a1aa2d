// A background choice in the menu editor's material strip (104 × 78): the
// picture stretched over the control, and the file it came from.
#pragma once

#include <QImage>
#include <QWidget>

#include <string>

class TBackgroundImage : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 104, kHeight = 78;

    explicit TBackgroundImage(QWidget *parent = nullptr);

    // False when the file is missing or not a picture (the editor then
    // discards the element).
    bool loadFromFile(const std::string &file);
    const std::string &fileName() const { return fileName_; }

signals:
    void clicked(TBackgroundImage *image);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage picture_;
    std::string fileName_;
};
