// A link label: shows a caption, underlined under the mouse, and opens its
// address with the desktop's default handler (desktop_opener.h) when
// clicked; says so when no handler could take it, so that the window can
// show the address instead.
#pragma once

#include <QLabel>
#include <QUrl>

class TsuiURLLabel : public QLabel {
    Q_OBJECT

public:
    explicit TsuiURLLabel(QWidget *parent = nullptr);

    void setURL(const QString &url) { url_ = QUrl::fromUserInput(url); }
    const QUrl &url() const { return url_; }

signals:
    void opened(const QUrl &url);
    void openFailed(const QUrl &url);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setUnderlined(bool underlined);

    QUrl url_;
};
