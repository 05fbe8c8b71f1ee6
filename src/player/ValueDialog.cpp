#include "player/ValueDialog.h"

#include "core/AppState.h"
#include "platform/Dialogs.h"
#include "platform/OnScreen.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ValueDialog::ValueDialog(AppState& state, Dialogs& dialogs, const QPixmap& background,
                         QWidget* parent)
    : QDialog(parent), m_state(state), m_dialogs(dialogs)
{
    setAttribute(Qt::WA_DeleteOnClose);

    m_background = new QLabel(this);
    m_background->setObjectName(QStringLiteral("background"));
    m_background->setScaledContents(true);
    m_background->setPixmap(background);
    m_background->lower();

    m_promptLabel = new QLabel(this);
    m_promptLabel->setObjectName(QStringLiteral("promptLabel"));
    m_promptLabel->setWordWrap(true);
    m_promptLabel->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    m_valueEdit = new QLineEdit(this);
    m_valueEdit->setObjectName(QStringLiteral("valueEdit"));
    m_okButton = new QPushButton(state.texts.text(Text::Ok), this);
    m_cancelButton = new QPushButton(state.texts.text(Text::Cancel), this);
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_okButton->setDefault(true);
    m_okButton->setAutoDefault(true);
    m_cancelButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_promptLabel);
    layout->addWidget(m_valueEdit);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(m_okButton, &QPushButton::clicked, this, &ValueDialog::confirm);
    connect(m_cancelButton, &QPushButton::clicked, this, &ValueDialog::cancel);
}

void ValueDialog::fitToPrompt()
{
    // A window's minimum size leaves out the lines a wrapped label needs; adjustSize counts them.
    adjustSize();
    // Over the window the command came from: the editor's keys reach the player's commands too.
    const QWidget* active = QApplication::activeWindow();
    centreOver(this, active && active != this ? active : parentWidget());
}

void ValueDialog::resizeEvent(QResizeEvent* event)
{
    m_background->setGeometry(rect());
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
    m_promptLabel->setText(prompt());
    fitToPrompt();
    m_valueEdit->clear();
    if (int* value = setting()) {
        *value = ValueEntry::openingValue(mode, *value);
        m_valueEdit->setText(QString::number(*value));
        m_valueEdit->selectAll();
    }
}

void ValueDialog::confirm()
{
    if (m_mode == Mode::NewBookmark) {
        if (!m_acceptBookmark || m_acceptBookmark(m_valueEdit->text()))
            accept();
        return;
    }
    const QString typed = m_valueEdit->text().trimmed();
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
    } else if (m_mode == Mode::GoTo) {
        Q_EMIT goToRequested(number);
    }
    Q_EMIT valueStored();
    accept();
}

void ValueDialog::cancel()
{
    reject();
}
