#include "editor/FindDialog.h"

#include "core/AppState.h"
#include "editor/ReplaceAll.h"
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
#include <cerrno>

namespace {

// Entries of the interface text table the dialog uses beside the named ones.

const QString kEllipsis = QStringLiteral("...");

// The text before its first line break, of any kind the editor or a drag may give.
QString firstLine(const QString& text, bool* cut)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (text.at(i).unicode()) {
        case u'\n':
        case u'\r':
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            *cut = true;
            return text.left(i);
        default:
            break;
        }
    }
    *cut = false;
    return text;
}

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
      m_text(text), m_mode(mode)
{
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();

    m_findBox->setEditText(firstLine(text->selectedPlainText().trimmed(), &m_findTextCut));
    applyTexts();
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

void FindDialog::createControls()
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
    connect(m_findBox, &QComboBox::activated, this, [this] {
        if (m_text)
            m_text->setSelectionStart(0);
    });
}

void FindDialog::applyTexts()
{
    m_findFromTop = true;
    m_replaceArmed = false;
    showTexts();
}

void FindDialog::showTexts()
{
    const InterfaceTexts& t = m_state.texts;
    setWindowTitle(
        StripAmpersands(t.text(m_mode == Mode::Replace ? Text::Replace : Text::Find) + kEllipsis));
    setFindFromTop(m_findFromTop);
    m_cancelButton->setText(t.text(Text::Cancel));
    setReplaceArmed(m_replaceArmed);
    m_replaceAllButton->setText(t.text(Text::ReplaceAll));
    m_findLabel->setText(t.text(Text::Find));
    m_replaceLabel->setText(t.text(Text::ReplaceWith));
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

void FindDialog::setFindFromTop(bool fromTop)
{
    m_findFromTop = fromTop;
    m_findButton->setText(fromTop ? QStringLiteral("&") + m_state.texts.text(Text::Find)
                                  : m_state.texts.text(Text::FindNext));
}

void FindDialog::setReplaceArmed(bool armed)
{
    m_replaceArmed = armed;
    const QString replace = m_state.texts.text(Text::Replace);
    m_replaceButton->setText(armed ? replace : replace + kEllipsis);
}

int FindDialog::searchOptions() const
{
    int options = 0;
    if (m_wholeWordBox->isChecked())
        options |= RichTextBox::WholeWord;
    if (m_matchCaseBox->isChecked())
        options |= RichTextBox::MatchCase;
    return options;
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
    if (!m_text)
        return;
    const QString what = m_findBox->currentText();
    if (m_findFromTop) {
        if (m_text->find(what, 0, -1, searchOptions()) >= 0)
            setFindFromTop(false);
        else
            tellNotFound(Text::TextNotFound);
    } else {
        const int from = m_text->selectionStart() + m_text->selectionLength();
        if (m_text->find(what, from, -1, searchOptions()) < 0) {
            tellNotFound(Text::NoFurtherOccurrences);
            setFindFromTop(true);
        }
    }
    focusText();
}

void FindDialog::replace()
{
    rememberFindText();
    rememberReplaceText();
    if (!m_text)
        return;
    const QString what = m_findBox->currentText();
    const int options = searchOptions();
    // From the selection's start, so that a match already selected is the one replaced. An
    // empty text to find is never found.
    if (m_text->find(what, m_text->selectionStart(), -1, options) < 0) {
        tellNotFound(Text::TextNotFound);
        return;
    }
    if (!m_replaceArmed) {
        setReplaceArmed(true);
        return;
    }
    if (m_text->isReadOnly()) {
        reportError(qt_error_string(EPERM));
        return;
    }
    QString replacement = m_replaceBox->currentText();
    if (m_findTextCut) {
        m_findTextCut = false;
        replacement += QLatin1Char('\n');
    }
    m_text->replaceSelection(replacement);
    if (m_text->find(what, m_text->selectionStart() + m_text->selectionLength(), -1, options) < 0)
        setFindFromTop(true);
    focusText();
}

void FindDialog::replaceAll()
{
    if (!m_text)
        return;
    QString error;
    const int count = ::replaceAll(*m_text, m_findBox->currentText().trimmed(),
                                   m_replaceBox->currentText().trimmed(), &error);
    if (count < 0) {
        reportError(error);
        return;
    }
    const InterfaceTexts& t = m_state.texts;
    m_dialogs.message(this, QMessageBox::NoIcon, m_state.productTitle,
                      StripAmpersands(t.text(Text::ReplacementsMade)) + QStringLiteral(" \n") +
                          QString::number(count) + QLatin1Char(' ') +
                          StripAmpersands(t.text(Text::InTotal)),
                      QMessageBox::Ok);
}

void FindDialog::dropOnFindBox(const QString& dropped)
{
    // The flag tells of the box's text, which the drop replaces.
    m_findBox->setEditText(firstLine(dropped, &m_findTextCut).trimmed());
    rememberFindText();
    rememberReplaceText();
}

void FindDialog::dropOnReplaceBox(const QString& dropped)
{
    bool cut = false;
    m_replaceBox->setEditText(firstLine(dropped, &cut).trimmed());
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
    m_dialogs.information(this, m_state.productTitle, m_state.texts.plain(entry));
}

void FindDialog::reportError(const QString& reason)
{
    m_dialogs.message(this, QMessageBox::Critical, m_state.productTitle, reason, QMessageBox::Ok);
    focusText();
}
