#include "ui/AboutDialog.h"

#include "core/AppState.h"
#include "platform/SkinImage.h"
#include "platform/Twips.h"
#include "ui/WebSite.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

// Design layout in twips.
constexpr int kWidth = 6000;
constexpr int kMargin = 240;
constexpr int kIconSize = 720;
constexpr int kTitleLeft = kMargin + kIconSize + 240;
constexpr int kTitleTop = kMargin + 120;
constexpr int kVersionGap = 150;
constexpr int kViewportTop = kMargin + kIconSize + 240;
constexpr int kViewportHeight = CreditsScroll::kStartTop;
constexpr int kHeight = kViewportTop + kViewportHeight + kMargin;
constexpr int kPanelInset = 30;
constexpr int kScrollMs = 10;

constexpr char kProductTitle[] = "Vocarta Free";
constexpr char kCopyright[] = "\u00a9 The Vocarta authors";

} // namespace

AboutDialog::AboutDialog(const AppState& state, QWidget* parent)
    : QDialog(parent), m_scroll(kViewportHeight, 0)
{
    setObjectName(QStringLiteral("aboutDialog"));
    const InterfaceTexts& t = state.texts;
    setWindowTitle(caption(t.text(Text::About)));
    setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("titleImage"));
    icon->setScaledContents(true);
    icon->setPixmap(SkinImage::pixmap(state.filesPath(QStringLiteral("vocarta.png"))));
    Twips::place(icon, kMargin, kMargin, kIconSize, kIconSize);
    icon->installEventFilter(this);

    QLabel* title = addLabel(this, "titleLabel", QString::fromUtf8(kProductTitle));
    QFont titleFont = title->font();
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->adjustSize();
    title->move(Twips::toPixels(kTitleLeft), Twips::toPixels(kTitleTop));

    QLabel* version = addLabel(this, "versionLabel",
                               versionLine(t.text(Text::VersionLabel), VOCARTA_VERSION_MAJOR,
                                           VOCARTA_VERSION_MINOR, VOCARTA_VERSION_PATCH));
    version->adjustSize();
    // The version follows the title on its line, on the same baseline.
    version->move(title->x() + title->width() + Twips::toPixels(kVersionGap),
                  title->y() + title->fontMetrics().ascent() - version->fontMetrics().ascent());

    auto* viewport = new QFrame(this);
    viewport->setObjectName(QStringLiteral("creditsFrame"));
    viewport->setFrameShape(QFrame::StyledPanel);
    viewport->setFrameShadow(QFrame::Sunken);
    viewport->setFocusPolicy(Qt::StrongFocus);
    Twips::place(viewport, kMargin, kViewportTop, kWidth - 2 * kMargin, kViewportHeight);
    m_viewport = viewport;
    buildPanel(state);
    viewport->setFocus();

    m_scrollTimer.setObjectName(QStringLiteral("scrollTimer"));
    connect(&m_scrollTimer, &QTimer::timeout, this, &AboutDialog::stepScroll);
    connect(this, &QDialog::finished, &m_scrollTimer, &QTimer::stop);
    m_scrollTimer.start(kScrollMs);
}

QString AboutDialog::caption(const QString& aboutEntry)
{
    QString text = StripAmpersands(aboutEntry);
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return text;
}

QString AboutDialog::versionLine(const QString& label, int major, int minor, int revision)
{
    return QStringLiteral("%1 %2.%3.0.%4").arg(label).arg(major).arg(minor).arg(revision);
}

QLabel* AboutDialog::addLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->installEventFilter(this);
    return label;
}

void AboutDialog::buildPanel(const AppState& state)
{
    const InterfaceTexts& t = state.texts;
    m_panel = new QWidget(m_viewport);
    m_panel->setObjectName(QStringLiteral("creditsPanel"));
    auto* column = new QVBoxLayout(m_panel);
    const int gap = Twips::toPixels(120);
    column->setContentsMargins(gap, 0, gap, 0);
    column->setSpacing(gap);

    QLabel* heading = addLabel(m_panel, "descriptionLabel", t.text(Text::DescriptionHeading));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    QLabel* about = addLabel(m_panel, "aboutText", t.text(Text::AboutText));
    about->setWordWrap(true);
    QLabel* copyright = addLabel(m_panel, "copyrightLabel",
                                 QString::fromUtf8(kCopyright) + QStringLiteral(" - ") +
                                     t.text(Text::AllRightsReserved));
    copyright->setWordWrap(true);
    QLabel* homeCaption =
        addLabel(m_panel, "homePageCaption", t.text(Text::HomePage) + QLatin1Char(':'));
    m_homePage = addLabel(m_panel, "homePageLink", QString::fromLatin1(WebSite::kAddress));
    QFont link = m_homePage->font();
    link.setUnderline(true);
    m_homePage->setFont(link);
    QPalette palette = m_homePage->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    m_homePage->setPalette(palette);
    m_homePage->setCursor(Qt::PointingHandCursor);

    for (QLabel* label : {heading, about, copyright, homeCaption, m_homePage})
        column->addWidget(label);

    const int width = m_viewport->width() - 2 * Twips::toPixels(kPanelInset);
    m_panel->setFixedWidth(width);
    m_panel->setFixedHeight(column->totalHeightForWidth(width));
    m_scroll.setPanelHeight(Twips::fromPixels(m_panel->height()));
    placePanel();
}

void AboutDialog::placePanel()
{
    m_panel->move(Twips::toPixels(kPanelInset), Twips::toPixels(m_scroll.top()));
}

void AboutDialog::stepScroll()
{
    m_scroll.step();
    placePanel();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_homePage)
            Q_EMIT homePageClicked();
        else
            reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    reject();
}
