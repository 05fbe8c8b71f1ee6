#include "player/Form1.h"

#include "app/AppState.h"
#include "bookmarks/BookmarkCommands.h"
#include "editor/EditorCommands.h"
#include "platform/MediaPlayer.h"
#include "platform/Twips.h"
#include "player/CaptionLabel.h"
#include "player/PlayerLayout.h"
#include "player/PointerLabel.h"
#include "player/SkinButton.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QShortcut>

Form1::Form1(AppState& state, const Platform& platform, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_platform(platform)
{
    setupFace();
    setupMenus();
    // The player keeps the size of its face and menus, from before it is first shown.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(&Timer4, &QTimer::timeout, this, &Form1::Timer4_Timer);
    connect(&Timer5, &QTimer::timeout, this, &Form1::Timer5_Timer);
    connect(&Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(&Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    connectPointerEvents();
    Timer4.start(200);
    if (m_platform.media)
        connect(m_platform.media, &MediaPlayer::mediaError, this, &Form1::showMediaError);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Form1::mnuEsci_Click);
}

Form1::~Form1() = default;

QString Form1::imagePath(const QString& name) const
{
    return m_state.filesPath(name);
}

void Form1::setupFace()
{
    using namespace PlayerLayout;
    // The face keeps its size; the window around it may be wider when the menu titles need it,
    // the sides in the face's own background colour.
    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("playerFrame"));
    frame->setStyleSheet(QStringLiteral("#playerFrame { background-color: %1; }")
                             .arg(QLatin1String(kFaceColour)));
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    auto* face = new QWidget(frame);
    face->setFixedSize(Twips::toPixels(kFaceWidth), Twips::toPixels(kFaceHeight));
    row->addStretch();
    row->addWidget(face);
    row->addStretch();
    setCentralWidget(frame);
    m_face = face;

    auto* background = new QLabel(face);
    background->setScaledContents(true);
    background->setPixmap(QPixmap(imagePath(QStringLiteral("sfondo.jpg"))));
    Twips::place(background, 0, 0, kFaceWidth, kFaceHeight);

    Shape3 = new QLabel(face);
    Shape3->setScaledContents(true);
    Shape3->setPixmap(QPixmap(imagePath(QStringLiteral("display.jpg"))));
    Twips::place(Shape3, kDisplay.left, kDisplay.top, kDisplay.width, kDisplay.height);

    Shape1 = new QLabel(face);
    Shape1->setStyleSheet(QStringLiteral("background-color: rgba(240, 160, 48, 90);"));
    Twips::place(Shape1, kPosition.left, kPosition.top, 0, kPosition.height);

    const auto whiteLabel = [face]<typename Label>(const Box& box, int points,
                                                   Qt::Alignment alignment) {
        auto* label = new Label(face);
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        label->setAlignment(alignment);
        Twips::place(label, box.left, box.top, box.width, box.height);
        return label;
    };
    Label4 = whiteLabel.operator()<CaptionLabel>(kTitle, 14, Qt::AlignLeft | Qt::AlignVCenter);
    Label4->setTextFormat(Qt::PlainText);
    Label4->hide();
    Label2 = whiteLabel.operator()<PointerLabel>(kPosition, 9, Qt::AlignLeft | Qt::AlignVCenter);
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    Label7 = whiteLabel.operator()<QLabel>(kSpeed, 9, Qt::AlignCenter);
    Label7->setStyleSheet(QStringLiteral("color: red; background: transparent;"));
    Label7->hide();
    Label5 = whiteLabel.operator()<QLabel>(kVolumeText, 8, Qt::AlignCenter);
    Label5->setText(QStringLiteral("100%"));

    Image2 = new PointerLabel(face);
    Image2->setScaledContents(true);
    Image2->setPixmap(QPixmap(imagePath(QStringLiteral("volume-track.png"))));
    Twips::place(Image2, kVolumeTrack.left, kVolumeTrack.top, kVolumeTrack.width,
                 kVolumeTrack.height);
    Image1 = new PointerLabel(face);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(imagePath(QStringLiteral("volume-knob.png"))));
    Twips::place(Image1, kVolumeKnob.left, kVolumeKnob.top, kVolumeKnob.width, kVolumeKnob.height);
    m_knobTop = kVolumeKnob.top;

    for (QWidget* ground : {static_cast<QWidget*>(frame), face, static_cast<QWidget*>(background)}) {
        ground->setMouseTracking(true);
        ground->installEventFilter(this);
    }

    const auto button = [face](const Box& box) {
        auto* b = new SkinButton(face);
        Twips::place(b, box.left, box.top, box.width, box.height);
        return b;
    };
    Image3 = button(kOpenButton);
    cmdIndietro = button(kBackButton);
    cmdPlay = button(kPlayButton);
    cmdStop = button(kStopButton);
    cmdAvanz = button(kForwardButton);
    cmdRec = button(kRecordButton);
    Image3->showImage(imagePath(QStringLiteral("Apri.bmp")));
    cmdIndietro->showImage(imagePath(QStringLiteral("bac.jpg")));
    cmdPlay->showImage(imagePath(QStringLiteral("play.jpg")));
    cmdStop->showImage(imagePath(QStringLiteral("stop.jpg")));
    cmdAvanz->showImage(imagePath(QStringLiteral("for.jpg")));
    cmdRec->showImage(imagePath(QStringLiteral("rec.jpg")));

    const QPixmap icon(imagePath(QStringLiteral("vocarta.png")));
    if (!icon.isNull())
        setWindowIcon(icon);
}

QWidget* Form1::editorWindow() const
{
    return m_editor ? m_editor->window() : nullptr;
}

QWidget* Form1::bookmarkWindow() const
{
    return m_bookmarks ? m_bookmarks->window() : nullptr;
}

void Form1::connectPointerEvents()
{
    const auto twips = [](int pixels) { return static_cast<double>(Twips::fromPixels(pixels)); };
    connect(Image1, &PointerLabel::pressed, this,
            [this](Qt::MouseButton button, QPoint) { Image1_MouseDown(button); });
    connect(Image1, &PointerLabel::moved, this, [this, twips](Qt::MouseButtons buttons, QPoint at) {
        Image1_MouseMove(buttons, twips(at.y()));
    });
    connect(Image1, &PointerLabel::released, this,
            [this](Qt::MouseButton button, QPoint) { Image1_MouseUp(button); });
    connect(Image2, &PointerLabel::pressed, this, [this] { Image2_MouseDown(); });
    connect(Image2, &PointerLabel::moved, this, [this] { Image2_MouseMove(); });
    connect(Image2, &PointerLabel::released, this,
            [this, twips](Qt::MouseButton button, QPoint at) {
                Image2_MouseUp(button, twips(at.y()));
            });
    connect(Label2, &PointerLabel::released, this,
            [this, twips](Qt::MouseButton, QPoint at) { Label2_MouseUp(twips(at.x())); });
    for (SkinButton* button : {cmdPlay, cmdStop, cmdIndietro, cmdAvanz, cmdRec})
        connect(button, &SkinButton::pointerMoved, this,
                [this, button] { buttonPointerMoved(button); });
    connect(Image3, &SkinButton::pointerMoved, this, &Form1::Image3_MouseMove);
}

void Form1::fitMenuBar()
{
    menuBar()->ensurePolished();
    centralWidget()->setMinimumWidth(std::max(m_face->width(), menuBar()->sizeHint().width()));
    // Sized at once, so that windows placed beside the player see its new width.
    adjustSize();
}

void Form1::Form_Initialize()
{
    placeEditor();
}

void Form1::placeEditor()
{
    if (!editorWindow())
        return;
    QWidget* under = this;
    if (m_bookmarks && m_bookmarks->hasBookmarks() && bookmarkWindow())
        under = bookmarkWindow();
    const QRect above = Twips::frame(under);
    const QRect player = Twips::frame(this);
    Twips::move(editorWindow(), player.left(),
                above.top() + above.height() + PlayerLayout::kEditorGap);
}

void Form1::Form_Load(const QString& commandLine)
{
    setAcceptDrops(true);
    VolumeScale = 100;
    LayoutVolumeSlider();

    m_state.productTitle = QStringLiteral("Vocarta");
    setWindowTitle(m_state.productTitle);
    move(x(), 0);

    if (const auto stored = SettingsFile::read(m_state.settingsPath()))
        m_stored = *stored;
    if (m_stored.knobTop) {
        // A hand-edited value never puts the knob off its track.
        using PlayerLayout::kVolumeKnob;
        using PlayerLayout::kVolumeTrack;
        setKnobTop(std::clamp(*m_stored.knobTop, kVolumeTrack.top,
                              kVolumeTrack.top + kVolumeTrack.height - kVolumeKnob.height));
    }
    m_state.jumpSeconds = m_stored.jumpSeconds;
    m_state.backSeconds = m_stored.backSeconds;
    mnuTitoloCompleto->setChecked(m_stored.showFullPath);
    m_state.editorFolder = m_stored.editorFolder;
    m_state.playTime = m_stored.playTime;
    m_state.pauseTime = m_stored.pauseTime;
    mnuSmartPlay->setChecked(m_stored.smartPlay);

    m_state.texts.load(m_state.languagePath());

    applyStoredSettings();

    ApplicaLingua();
    mnuSecIndietro->setText(m_state.texts.text(30));
    Image1->setToolTip(QStringLiteral(" ") + StripAmpersands(m_state.texts.text(27)) +
                       QStringLiteral(" "));

    resetPositionDisplay();
    m_openButtonHome = Image3->pos();
    loadRecentMedia();

    const QPixmap pointer(imagePath(QStringLiteral("Indica.ico")));
    if (!pointer.isNull()) {
        const QCursor hand(pointer.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation),
                           PlayerLayout::kPointerHotX, PlayerLayout::kPointerHotY);
        for (SkinButton* b : {Image3, cmdPlay, cmdIndietro, cmdStop, cmdAvanz})
            b->setCursor(hand);
    }

    // Closed first, so that a recording named on the command line stays open.
    mnuChiudi_Click();
    if (!commandLine.isEmpty())
        OpenMedia(commandLine);
    if (m_stored.volumeText)
        m_knobTag = *m_stored.volumeText;
    ApplyVolume();
}

void Form1::setBookmarkMenuShown(bool shown)
{
    mnuBookMark->setText(m_state.texts.text(shown ? 85 : 84));
}

void Form1::applyStoredSettings()
{
    const StoredSettings& s = m_stored;
    if (s.editorWidth + s.editorHeight != 0) {
        Twips::move(this, s.playerLeft, s.playerTop);
        if (editorWindow())
            Twips::setFrame(editorWindow(),
                            QRect(s.editorLeft, s.editorTop, s.editorWidth, s.editorHeight));
    }
    mnuPrimoPiano->setChecked(s.alwaysOnTop);
    setAlwaysOnTop(s.alwaysOnTop);
    if (editorWindow() && s.editorVisible)
        editorWindow()->show();
}

void Form1::setAlwaysOnTop(bool onTop)
{
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    move(PlayerLayout::kTopmostCorner, PlayerLayout::kTopmostCorner);
    if (wasVisible)
        show();
}

void Form1::resetPositionDisplay()
{
    Shape1->hide();
    Label2->move(Shape1->pos());
    Label2->setText(QStringLiteral("0:00 / 0:00"));
    for (QAction* a : {mnuPlay, mnuStop, mnuAvanti, mnuIndietro, mnuDiminuisciVelocità,
                       mnuAumentaVelocità, mnuVai})
        a->setEnabled(false);
    cmdStop->setEnabled(false);
}

void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::Form_Resize()
{
    QWidget* editor = editorWindow();
    QWidget* bookmarks = bookmarkWindow();
    if (isMinimized()) {
        for (QWidget* w : {editor, bookmarks}) {
            if (w && w->isVisible())
                w->hide();
        }
        return;
    }
    if (editor && mnuMostraNascondi->text() == m_state.texts.text(116))
        editor->show();
    if (bookmarks && mnuBookMark->text() == m_state.texts.text(85))
        bookmarks->show();
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    GotADrop(urls.first().toLocalFile());
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && watched != this)
        Form_MouseMove();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::mnuEsci_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (m_closed || Form_Unload())
        event->accept();
    else
        event->ignore();
}

bool Form1::Form_Unload()
{
    if (m_closing || m_closed)
        return m_closed;
    m_closing = true;

    if (m_bookmarks)
        m_bookmarks->saveBookmarks();

    if (m_editor) {
        switch (m_editor->askToSaveBeforeExit()) {
        case EditorCommands::ExitAnswer::Proceed:
            break;
        case EditorCommands::ExitAnswer::Cancel:
            m_closing = false;
            return false;
        case EditorCommands::ExitAnswer::SaveFailed:
            Salva();
            show();
            m_closing = false;
            return false;
        }
    }

    setAcceptDrops(false);
    Salva();
    if (m_bookmarks)
        m_bookmarks->closeAtExit();
    if (m_editor)
        m_editor->hideFindDialog();
    if (m_platform.media)
        m_platform.media->stop();
    if (m_editor)
        m_editor->unload();

    m_closing = false;
    m_closed = true;
    Q_EMIT programEnded();
    return true;
}
