#include "startup/LazyIconStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>

namespace {

// Asks the style for the real icon the first time the icon is drawn or measured.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap pixmap)
        : m_style(style), m_pixmap(pixmap)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return real().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return real().actualSize(size, mode, state);
    }
    QIconEngine* clone() const override { return new DeferredIconEngine(m_style, m_pixmap); }

private:
    const QIcon& real()
    {
        if (m_real.isNull() && m_style)
            m_real = m_style->standardIcon(m_pixmap);
        return m_real;
    }

    QPointer<const QStyle> m_style;
    QStyle::StandardPixmap m_pixmap;
    QIcon m_real;
};

} // namespace

QIcon LazyIconStyle::standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                                  const QWidget* widget) const
{
    if (pixmap == SP_ToolBarHorizontalExtensionButton ||
        pixmap == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), pixmap));
    return QProxyStyle::standardIcon(pixmap, option, widget);
}
