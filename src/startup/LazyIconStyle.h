#pragma once

#include <QProxyStyle>

// The desktop's style, except that the menu bar's overflow arrows are read when first drawn,
// not when the menu bar is made: reading them makes Qt load every image plugin it has before the
// first window can show, and the player's menu bar never overflows.
class LazyIconStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};
