#include "core/AppState.h"
#include "core/Logging.h"
#include "core/PlayerCommands.h"
#include "editor/EditorToolbar.h"
#include "editor/EditorWindow.h"
#include "editor/RichTextBox.h"

#include <QAction>
#include <QTextBlock>
#include <algorithm>

void EditorWindow::setupTimestamps()
{
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
