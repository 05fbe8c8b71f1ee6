#include "core/AppState.h"
#include "core/Logging.h"
#include "core/MenuEntries.h"
#include "core/PlayerCommands.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTextBlock>
#include <algorithm>

namespace {

constexpr Text kStyleNames[Timestamp::kStyleCount] = {
    Text::TimestampHoursMinutesSeconds, Text::TimestampTenths, Text::TimestampMinutesSeconds,
    Text::TimestampHashHundredths};

constexpr const char* kStyleActionNames[Timestamp::kStyleCount] = {
    "timestampHoursMinutesSecondsAction", "timestampTenthsAction", "timestampMinutesSecondsAction",
    "timestampHashHundredthsAction"};

} // namespace

void EditorWindow::setupTimestampMenu()
{
    m_editMenu->addSeparator();
    m_insertTimestampAction = addNamedEntry(m_editMenu, "insertTimestampAction",
                                            "Inserisci indicazione di tempo", Qt::CTRL | Qt::Key_T);
    m_playFromTimestampAction =
        addNamedEntry(m_editMenu, "playFromTimestampAction", "Riproduci dall'indicazione di tempo",
                      Qt::CTRL | Qt::Key_J);
    m_timestampMenu = m_editMenu->addMenu(QStringLiteral("Indicazioni di tempo"));
    m_timestampMenu->setObjectName(QStringLiteral("timestampMenu"));
    auto* styles = new QActionGroup(m_timestampMenu);
    for (int i = 0; i < Timestamp::kStyleCount; ++i) {
        QAction* action = addNamedEntry(m_timestampMenu, kStyleActionNames[i],
                                        qPrintable(Timestamp::pattern(Timestamp::Style(i))));
        action->setCheckable(true);
        styles->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, i] { setTimestampStyle(Timestamp::Style(i)); });
        m_timestampStyleActions[size_t(i)] = action;
    }
    m_timestampMenu->addSeparator();
    m_newParagraphStampAction = addNamedEntry(m_timestampMenu, "newParagraphStampAction",
                                              "Indicazione di tempo a ogni nuovo paragrafo");
    m_newParagraphStampAction->setCheckable(true);
    m_afterStepBackStampAction = addNamedEntry(m_timestampMenu, "afterStepBackStampAction", "");
    m_afterStepBackStampAction->setCheckable(true);

    connect(m_insertTimestampAction, &QAction::triggered, this, &EditorWindow::insertTimestamp);
    connect(m_playFromTimestampAction, &QAction::triggered, this, &EditorWindow::playFromTimestamp);
    connect(m_newParagraphStampAction, &QAction::triggered, this,
            &EditorWindow::setStampNewParagraphs);
    connect(m_afterStepBackStampAction, &QAction::triggered, this, [this](bool on) {
        m_state.timestamps.afterStepBack = on;
        saveTimestampOptions();
    });
    connect(m_textBox, &RichTextBox::keyHandled, this, &EditorWindow::stampNewParagraph);
    connect(m_textBox, &RichTextBox::controlClicked, this,
            [this](int position) { playFromTimestampAt(position, true); });

    QString error;
    const QString path = m_state.filesPath(QLatin1String(TimestampOptions::kFileName));
    m_state.timestamps = TimestampOptions::read(path, &error);
    if (!error.isEmpty())
        qCWarning(lcSettings).noquote() << "Cannot read" << path << error;
    showTimestampOptions();
}

void EditorWindow::applyTimestampTexts()
{
    const InterfaceTexts& t = m_state.texts;
    m_insertTimestampAction->setText(t.text(Text::InsertTimestamp));
    m_playFromTimestampAction->setText(t.text(Text::PlayFromTimestamp));
    m_timestampMenu->setTitle(t.text(Text::TimestampsMenu));
    for (int i = 0; i < Timestamp::kStyleCount; ++i)
        m_timestampStyleActions[size_t(i)]->setText(t.text(kStyleNames[i]));
    m_newParagraphStampAction->setText(t.text(Text::TimestampNewParagraphs));
    m_afterStepBackStampAction->setText(t.text(Text::TimestampAfterStepBack));
    m_toolbar->setZoneName(EditorToolbar::Timestamp, t.plain(Text::InsertTimestamp));
    m_toolbar->setZoneToolTip(
        EditorToolbar::Timestamp,
        t.plain(Text::InsertTimestamp) + QStringLiteral(" (") +
            m_insertTimestampAction->shortcut().toString(QKeySequence::NativeText) +
            QLatin1Char(')'));
}

void EditorWindow::showTimestampOptions()
{
    m_timestampStyleActions[size_t(m_state.timestamps.style)]->setChecked(true);
    m_newParagraphStampAction->setChecked(m_state.timestamps.stampNewParagraphs);
    m_afterStepBackStampAction->setChecked(m_state.timestamps.afterStepBack);
}

void EditorWindow::setTimestampStyle(Timestamp::Style style)
{
    m_state.timestamps.style = style;
    showTimestampOptions();
    saveTimestampOptions();
}

void EditorWindow::setStampNewParagraphs(bool on)
{
    m_state.timestamps.stampNewParagraphs = on;
    showTimestampOptions();
    saveTimestampOptions();
}

void EditorWindow::saveTimestampOptions()
{
    const QString path = m_state.filesPath(QLatin1String(TimestampOptions::kFileName));
    QString error;
    if (!m_state.timestamps.write(path, &error)) {
        qCWarning(lcSettings).noquote() << "Timestamp options not saved:" << error;
        m_state.saveFailures.tell(*m_platform.dialogs, this, m_state.texts, path, error);
    }
}

bool EditorWindow::hasMedia() const
{
    return m_player && m_player->hasMedia();
}

void EditorWindow::insertTimestamp()
{
    // Asked from outside the program, perhaps before the window's controls are made.
    if (!m_built)
        return;
    m_textBox->setFocus();
    if (!hasMedia())
        return;
    QTextCursor cursor = m_textBox->textCursor();
    cursor.clearSelection();
    // Kept apart from the words on either side, as a user would type it.
    const QString line = cursor.block().text();
    const int at = cursor.positionInBlock();
    QString stamp = Timestamp::formatSeconds(m_state.timestamps.positionOf(*m_player),
                                             m_state.timestamps.style);
    if (at > 0 && !line.at(at - 1).isSpace())
        stamp.prepend(QLatin1Char(' '));
    if (at >= line.size() || !line.at(at).isSpace())
        stamp.append(QLatin1Char(' '));
    cursor.insertText(stamp);
    m_textBox->setTextCursor(cursor);
}

void EditorWindow::playFromTimestamp()
{
    playFromTimestampAt(m_textBox->textCursor().position(), false);
    m_textBox->setFocus();
}

bool EditorWindow::playFromTimestampAt(int position, bool onTimestamp)
{
    if (!hasMedia())
        return false;
    const auto found = Timestamp::findAtOrBefore(*m_textBox->document(), position);
    if (!found || (onTimestamp && position > found->start + found->length))
        return false;
    double seconds = found->milliseconds / 1000.0;
    const double length = m_player->duration();
    if (length > 0)
        seconds = std::min(seconds, length);
    m_player->playFrom(seconds);
    return true;
}

void EditorWindow::stampNewParagraph(const KeyStroke& stroke)
{
    const bool newParagraph = stroke.key == Qt::Key_Return || stroke.key == Qt::Key_Enter;
    const Qt::KeyboardModifiers held =
        stroke.modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    // Shift+Return breaks the line inside the paragraph.
    if (!newParagraph || held != Qt::NoModifier || !m_state.timestamps.stampNewParagraphs)
        return;
    if (m_textBox->textCursor().positionInBlock() == 0)
        insertTimestamp();
}
