#include "player/ValueDialog.h"

#include "core/AppState.h"
#include "platform/Dialogs.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

ValueDialog::ValueDialog(AppState& state, Dialogs& dialogs, const QPixmap& background,
                         QWidget* parent)
    : QDialog(parent), m_state(state), m_dialogs(dialogs)
{
    setAttribute(Qt::WA_DeleteOnClose);

    Image1 = new QLabel(this);
    Image1->setScaledContents(true);
    Image1->setPixmap(background);
    Image1->lower();

    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    Text1 = new QLineEdit(this);
    Command1 = new QPushButton(state.texts.text(Text::Ok), this);
    Command2 = new QPushButton(state.texts.text(Text::Cancel), this);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(Command1, &QPushButton::clicked, this, &ValueDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ValueDialog::Command2_Click);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
}

void ValueDialog::resizeEvent(QResizeEvent* event)
{
    Image1->setGeometry(rect());
    QDialog::resizeEvent(event);
}

int* ValueDialog::setting()
{
    switch (m_mode) {
    case Mode::JumpSeconds:
        return &m_state.jumpSeconds;
    case Mode::SecondsBack:
        return &m_state.backSeconds;
    case Mode::PlayTime:
        return &m_state.playTime;
    case Mode::PauseTime:
        return &m_state.pauseTime;
    default:
        return nullptr;
    }
}

QString ValueDialog::prompt() const
{
    const InterfaceTexts& t = m_state.texts;
    const auto cyclePrompt = [&t](Text entry) {
        QString hint = t.text(Text::SuggestedSeconds);
        hint.replace(QStringLiteral("nnn"), QStringLiteral("7"));
        return StripAmpersands(t.text(entry) + QStringLiteral(" ") + hint);
    };
    switch (m_mode) {
    case Mode::JumpSeconds:
        return t.plain(Text::SkipLengthPrompt);
    case Mode::SecondsBack:
        return t.plain(Text::SecondsBackPrompt);
    case Mode::PlayTime:
        return cyclePrompt(Text::PlayTime);
    case Mode::PauseTime:
        return cyclePrompt(Text::PauseTime);
    case Mode::GoTo:
        return t.plain(Text::GoToPrompt);
    case Mode::NewBookmark:
        return t.plain(Text::BookmarkPrompt);
    }
    return {};
}

void ValueDialog::setMode(Mode mode)
{
    m_mode = mode;
    const InterfaceTexts& t = m_state.texts;
    switch (mode) {
    case Mode::JumpSeconds:
        setWindowTitle(t.plain(Text::SkipLengthTitle));
        break;
    case Mode::SecondsBack:
        setWindowTitle(t.plain(Text::SecondsBackTitle));
        break;
    case Mode::PlayTime:
    case Mode::PauseTime:
        setWindowTitle(t.plain(Text::SmartPlay));
        break;
    case Mode::GoTo:
        setWindowTitle(t.plain(Text::GoToTitle));
        break;
    case Mode::NewBookmark:
        setWindowTitle(t.plain(Text::AddBookmark));
        break;
    }
    Label1->setText(prompt());
    Text1->clear();
    if (int* value = setting()) {
        *value = ValueEntry::openingValue(mode, *value);
        Text1->setText(QString::number(*value));
        Text1->selectAll();
    }
}

void ValueDialog::Command1_Click()
{
    if (m_mode == Mode::NewBookmark) {
        if (!onBookmark || onBookmark(Text1->text()))
            accept();
        return;
    }
    const QString typed = Text1->text().trimmed();
    if (typed.isEmpty()) {
        reject();
        return;
    }
    const double number = ValueEntry::leadingNumber(typed);
    if (int* value = setting()) {
        // A number beyond 16 bits is not taken: the setting keeps its value.
        if (const auto whole = ValueEntry::toSetting(number))
            *value = *whole;
        const ValueEntry::RangeCheck check = ValueEntry::checkRange(m_mode, *value);
        if (check.message)
            m_dialogs.warning(this, m_state.texts.plain(Text::ProgramName),
                              m_state.texts.plain(*check.message) +
                                  QStringLiteral(" %1.").arg(check.bound));
        *value = check.value;
    } else if (m_mode == Mode::GoTo && onGoTo) {
        onGoTo(number);
    }
    if (onStored)
        onStored();
    accept();
}

void ValueDialog::Command2_Click()
{
    reject();
}
