#include "editor/FindDialog.h"

#include "core/AppState.h"
#include "core/ProductName.h"
#include "core/ScreenReaderName.h"
#include "editor/RichTextBox.h"
#include "platform/Dialogs.h"
#include "platform/OnScreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Entries of the interface text table the dialog uses beside the named ones.

const QString kEllipsis = QStringLiteral("...");

void remember(QComboBox* box)
{
    const QString text = box->currentText();
    if (text.trimmed().isEmpty() || box->findText(text) >= 0)
        return;
    // Adding to an empty list makes the new entry current, which leaves the text as it is.
    box->addItem(text);
}

} // namespace

FindDialog::FindDialog(const AppState& state, Dialogs& dialogs, RichTextBox* text, Mode mode,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_state(state), m_dialogs(dialogs),
      m_text(text), m_mode(mode), m_session(text)
{
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    m_findBox->setEditText(m_session.takeSelection());
    retranslate();
    if (!m_findBox->currentText().isEmpty())
        m_findBox->addItem(m_findBox->currentText());

    const bool replacing = mode == Mode::Replace;
    m_replaceButton->setEnabled(replacing);
    m_replaceAllButton->setEnabled(replacing);
    m_replaceLabel->setEnabled(replacing);
    m_replaceBox->setEnabled(replacing);

    // The dialog has no owner to go with: it goes with the text it works on.
    connect(text, &QObject::destroyed, this, &QWidget::close);
}

void FindDialog::buildControls()
{
    const auto historyBox = [this](const QString& name) {
        auto* box = new QComboBox(this);
        box->setObjectName(name);
        box->setEditable(true);
        // The list is the history, which the commands keep themselves.
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(28);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->lineEdit()->installEventFilter(this);
        return box;
    };
    const auto button = [this](const QString& name) {
        auto* pushButton = new QPushButton(this);
        pushButton->setObjectName(name);
        return pushButton;
    };

    m_findLabel = new QLabel(this);
    m_findLabel->setObjectName(QStringLiteral("findLabel"));
    m_findBox = historyBox(QStringLiteral("findBox"));
    m_findLabel->setBuddy(m_findBox);
    m_replaceLabel = new QLabel(this);
    m_replaceLabel->setObjectName(QStringLiteral("replaceLabel"));
    m_replaceBox = historyBox(QStringLiteral("replaceBox"));
    m_replaceLabel->setBuddy(m_replaceBox);

    m_findButton = button(QStringLiteral("findButton"));
    m_findButton->setDefault(true);
    m_replaceButton = button(QStringLiteral("replaceButton"));
    m_replaceAllButton = button(QStringLiteral("replaceAllButton"));
    m_cancelButton = button(QStringLiteral("cancelButton"));

    m_optionsGroup = new QGroupBox(this);
    m_optionsGroup->setObjectName(QStringLiteral("optionsGroup"));
    m_wholeWordBox = new QCheckBox(m_optionsGroup);
    m_wholeWordBox->setObjectName(QStringLiteral("wholeWordBox"));
    m_matchCaseBox = new QCheckBox(m_optionsGroup);
    m_matchCaseBox->setObjectName(QStringLiteral("matchCaseBox"));
    auto* options = new QVBoxLayout(m_optionsGroup);
    options->addWidget(m_wholeWordBox);
    options->addWidget(m_matchCaseBox);

    auto* fields = new QGridLayout;
    fields->addWidget(m_findLabel, 0, 0);
    fields->addWidget(m_findBox, 0, 1);
    fields->addWidget(m_replaceLabel, 1, 0);
    fields->addWidget(m_replaceBox, 1, 1);
    fields->addWidget(m_optionsGroup, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);
    fields->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findButton);
    buttons->addWidget(m_replaceButton);
    buttons->addWidget(m_replaceAllButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(m_findButton, &QPushButton::clicked, this, &FindDialog::find);
    connect(m_replaceButton, &QPushButton::clicked, this, &FindDialog::replace);
    connect(m_replaceAllButton, &QPushButton::clicked, this, &FindDialog::replaceAll);
    connect(m_cancelButton, &QPushButton::clicked, this, &QWidget::close);
    // A text picked from the history is searched from the top again.
    connect(m_findBox, &QComboBox::activated, this, [this] { m_session.searchFromTop(); });
    const auto setOptions = [this] {
        QTextDocument::FindFlags options;
        options.setFlag(QTextDocument::FindWholeWords, m_wholeWordBox->isChecked());
        options.setFlag(QTextDocument::FindCaseSensitively, m_matchCaseBox->isChecked());
        m_session.setOptions(options);
    };
    connect(m_wholeWordBox, &QCheckBox::toggled, this, setOptions);
    connect(m_matchCaseBox, &QCheckBox::toggled, this, setOptions);
}

void FindDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void FindDialog::retranslate()
{
    const InterfaceTexts& t = m_state.texts;
    setWindowTitle(
        StripAmpersands(t.text(m_mode == Mode::Replace ? Text::Replace : Text::Find) + kEllipsis));
    showButtons();
    m_cancelButton->setText(t.text(Text::Cancel));
    m_replaceAllButton->setText(t.text(Text::ReplaceAll));
    m_findLabel->setText(t.text(Text::Find));
    m_replaceLabel->setText(t.text(Text::ReplaceWith));
    setScreenReaderName(m_findBox, t.text(Text::Find));
    setScreenReaderName(m_replaceBox, t.text(Text::ReplaceWith));
    m_optionsGroup->setTitle(t.text(Text::SearchOptions));
    m_wholeWordBox->setText(t.text(Text::WholeWordsOnly));
    m_matchCaseBox->setText(t.text(Text::MatchCase));
}

void FindDialog::bringForward()
{
    if (!isVisible()) {
        adjustSize();
        centreOver(this, m_text->window());
    }
    show();
    raise();
    activateWindow();
}

void FindDialog::showButtons()
{
    const InterfaceTexts& t = m_state.texts;
    m_findButton->setText(m_session.findsFromTop() ? QStringLiteral("&") + t.text(Text::Find)
                                                   : t.text(Text::FindNext));
    const QString replace = t.text(Text::Replace);
    m_replaceButton->setText(m_session.replaceArmed() ? replace : replace + kEllipsis);
}

void FindDialog::rememberFindText()
{
    remember(m_findBox);
}

void FindDialog::rememberReplaceText()
{
    remember(m_replaceBox);
}

void FindDialog::find()
{
    rememberFindText();
    rememberReplaceText();
    const FindSession::Outcome outcome = m_session.find(m_findBox->currentText());
    tellOutcome(outcome);
    if (outcome != FindSession::Outcome::NoText)
        focusText();
}

void FindDialog::replace()
{
    rememberFindText();
    rememberReplaceText();
    const FindSession::Outcome outcome =
        m_session.replace(m_findBox->currentText(), m_replaceBox->currentText());
    tellOutcome(outcome);
    // Until it replaces, Replace keeps the keyboard in the dialog.
    if (outcome == FindSession::Outcome::Replaced)
        focusText();
}

void FindDialog::tellOutcome(FindSession::Outcome outcome)
{
    showButtons();
    switch (outcome) {
    case FindSession::Outcome::NotFound:
        tellNotFound(Text::TextNotFound);
        break;
    case FindSession::Outcome::NoFurther:
        tellNotFound(Text::NoFurtherOccurrences);
        break;
    case FindSession::Outcome::Refused:
        reportError(m_session.error());
        break;
    default:
        break;
    }
}

void FindDialog::replaceAll()
{
    if (!m_text)
        return;
    const int count = m_session.replaceAll(m_findBox->currentText(), m_replaceBox->currentText());
    if (count < 0) {
        reportError(m_session.error());
        return;
    }
    const InterfaceTexts& t = m_state.texts;
    m_dialogs.message(this, QMessageBox::NoIcon, productTitle(),
                      StripAmpersands(t.text(Text::ReplacementsMade)) + QStringLiteral(" \n") +
                          QString::number(count) + QLatin1Char(' ') +
                          StripAmpersands(t.text(Text::InTotal)),
                      QMessageBox::Ok);
}

void FindDialog::dropOnFindBox(const QString& dropped)
{
    m_findBox->setEditText(m_session.dropped(dropped, true));
    rememberFindText();
    rememberReplaceText();
}

void FindDialog::dropOnReplaceBox(const QString& dropped)
{
    m_replaceBox->setEditText(m_session.dropped(dropped, false));
    rememberFindText();
    rememberReplaceText();
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QDialog::eventFilter(watched, event);
    const auto isEditOf = [watched](const QComboBox* box) {
        return box && watched == box->lineEdit();
    };
    const bool onFindBox = isEditOf(m_findBox);
    auto* drop = static_cast<QDropEvent*>(event);
    if ((!onFindBox && !isEditOf(m_replaceBox)) || !drop->mimeData()->hasText())
        return QDialog::eventFilter(watched, event);

    // A copy: a text dragged out of the editor stays there.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        if (onFindBox)
            dropOnFindBox(drop->mimeData()->text());
        else
            dropOnReplaceBox(drop->mimeData()->text());
    }
    return true;
}

void FindDialog::focusText()
{
    if (!m_text)
        return;
    m_text->activateWindow();
    m_text->setFocus();
}

void FindDialog::tellNotFound(Text entry)
{
    m_dialogs.information(this, productTitle(), m_state.texts.plain(entry));
}

void FindDialog::reportError(const QString& reason)
{
    m_dialogs.message(this, QMessageBox::Critical, productTitle(), reason, QMessageBox::Ok);
    focusText();
}
