#include "player/ValueDialog.h"

#include "core/InterfaceTexts.h"
#include "platform/Dialogs.h"
#include "platform/OnScreen.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ValueDialog::ValueDialog(const InterfaceTexts& texts, Dialogs& dialogs, const QPixmap& background,
                         QWidget* parent)
    : QDialog(parent), m_texts(texts), m_dialogs(dialogs)
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
    // The prompt names the field to a screen reader.
    m_promptLabel->setBuddy(m_valueEdit);
    m_okButton = new QPushButton(texts.text(Text::Ok), this);
    m_cancelButton = new QPushButton(texts.text(Text::Cancel), this);
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

QString ValueDialog::prompt() const
{
    const InterfaceTexts& t = m_texts;
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
    case Mode::LoopSeconds:
        return t.plain(Text::LoopLengthPrompt);
    }
    return {};
}

void ValueDialog::setMode(Mode mode, int setting)
{
    m_mode = mode;
    m_setting = setting;
    const InterfaceTexts& t = m_texts;
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
    case Mode::LoopSeconds:
        setWindowTitle(t.plain(Text::LoopLength));
        break;
    }
    m_promptLabel->setText(prompt());
    fitToPrompt();
    m_valueEdit->clear();
    if (ValueEntry::isNumericSetting(m_mode)) {
        m_valueEdit->setText(QString::number(setting));
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
    if (ValueEntry::isNumericSetting(m_mode)) {
        // A number beyond 16 bits is not taken: the setting keeps its value.
        const int typedSetting = ValueEntry::toSetting(number).value_or(m_setting);
        const ValueEntry::RangeCheck check = ValueEntry::checkRange(m_mode, typedSetting);
        if (check.message)
            m_dialogs.warning(this, m_texts.plain(Text::ProgramName),
                              m_texts.plain(*check.message) +
                                  QStringLiteral(" %1.").arg(check.bound));
        Q_EMIT settingChosen(check.value);
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
