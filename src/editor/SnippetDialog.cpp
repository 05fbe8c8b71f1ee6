#include "editor/SnippetDialog.h"

#include "core/DialogButtons.h"
#include "core/InterfaceTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Column { KeyColumn, TextColumn, NewParagraphColumn, TimestampColumn };

QLabel* header(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

SnippetDialog::SnippetDialog(const InterfaceTexts& texts, const Snippets& snippets, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("snippetDialog"));
    setWindowTitle(texts.plain(Text::SpeakerLabelsMenu));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->addWidget(header(texts.plain(Text::SnippetText), this), 0, TextColumn);
    grid->addWidget(header(texts.plain(Text::SnippetNewParagraph), this), 0, NewParagraphColumn,
                    Qt::AlignHCenter);
    grid->addWidget(header(texts.plain(Text::SnippetTimestamp), this), 0, TimestampColumn,
                    Qt::AlignHCenter);
    for (int i = 0; i < Snippets::kCount; ++i) {
        const Snippet& snippet = snippets.slots[size_t(i)];
        const QString number = QString::number(i + 1);
        Row& row = m_rows[size_t(i)];
        row.text = new QLineEdit(snippet.text, this);
        row.text->setObjectName(QStringLiteral("snippetText") + number);
        row.newParagraph = new QCheckBox(this);
        row.newParagraph->setObjectName(QStringLiteral("snippetNewParagraph") + number);
        row.newParagraph->setChecked(snippet.newParagraph);
        row.newParagraph->setAccessibleName(texts.plain(Text::SnippetNewParagraph));
        row.timestamp = new QCheckBox(this);
        row.timestamp->setObjectName(QStringLiteral("snippetTimestamp") + number);
        row.timestamp->setChecked(snippet.timestamp);
        row.timestamp->setAccessibleName(texts.plain(Text::SnippetTimestamp));

        auto* key = new QLabel(
            QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + i)).toString(QKeySequence::NativeText),
            this);
        key->setBuddy(row.text);
        grid->addWidget(key, i + 1, KeyColumn);
        grid->addWidget(row.text, i + 1, TextColumn);
        grid->addWidget(row.newParagraph, i + 1, NewParagraphColumn, Qt::AlignHCenter);
        grid->addWidget(row.timestamp, i + 1, TimestampColumn, Qt::AlignHCenter);
    }
    grid->setColumnStretch(TextColumn, 1);
    grid->setColumnMinimumWidth(TextColumn, fontMetrics().averageCharWidth() * 40);

    auto* hint = new QLabel(texts.plain(Text::SnippetKeysHint), this);
    hint->setWordWrap(true);

    QDialogButtonBox* buttons = okCancelButtons(this, texts);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

Snippets SnippetDialog::snippets() const
{
    Snippets snippets;
    for (int i = 0; i < Snippets::kCount; ++i) {
        const Row& row = m_rows[size_t(i)];
        snippets.slots[size_t(i)] = {row.text->text(), row.newParagraph->isChecked(),
                                     row.timestamp->isChecked()};
    }
    return snippets;
}
