#include "app/widgets/sui_title_bar.h"

#include "app/widgets/skin.h"
#include "app/widgets/sui_image_button.h"
#include "app/widgets/window_dragger.h"

#include <QHBoxLayout>
#include <QLabel>

TsuiTitleBar::TsuiTitleBar(QWidget *parent)
    : QWidget(parent)
    , icon_(new QLabel(this))
    , caption_(new QLabel(this))
    , minimize_(new TsuiImageButton(this))
    , close_(new TsuiImageButton(this))
{
    setAttribute(Qt::WA_StyledBackground);
    setFixedHeight(kHeight);

    icon_->setObjectName(QStringLiteral("icon"));
    icon_->setPixmap(vt::Skin::current().picture(QStringLiteral("app_icon"), QSize(18, 18), vt::Skin::Fit::Scale,
                                                  devicePixelRatioF()));
    caption_->setObjectName(QStringLiteral("caption"));
    minimize_->setObjectName(QStringLiteral("minimizeButton"));
    minimize_->setToolTip(QStringLiteral("Minimize"));
    close_->setObjectName(QStringLiteral("closeButton"));
    close_->setToolTip(QStringLiteral("Close"));
    for (TsuiImageButton *button : {minimize_, close_}) {
        button->setFixedSize(34, kHeight);
        button->setFocusPolicy(Qt::NoFocus);
    }
    minimize_->setSkinPicture(QStringLiteral("title_min"), vt::Skin::Fit::Natural);
    close_->setSkinPicture(QStringLiteral("title_close"), vt::Skin::Fit::Natural);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(icon_);
    layout->addWidget(caption_, 1);
    layout->addWidget(minimize_);
    layout->addWidget(close_);

    new vt::WindowDragger(this);
    connect(minimize_, &QAbstractButton::clicked, this, [this] { window()->showMinimized(); });
    connect(close_, &QAbstractButton::clicked, this, [this] { window()->close(); });
}

void TsuiTitleBar::setCaption(const QString &caption)
{
    caption_->setText(caption);
}

QString TsuiTitleBar::caption() const
{
    return caption_->text();
}
