#include "editor/RichTextBox.h"

#include "editor/LayoutLimits.h"
#include "editor/LayoutPacer.h"
#include "platform/TextFile.h"
#include "rtf/RtfReader.h"
#include "rtf/RtfWriter.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPointer>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <algorithm>
#include <memory>

namespace {

QString familyOf(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

// Calls visit for the format of every piece of text in [start, end).
template <typename Visit>
void forEachFormat(const QTextDocument* document, int start, int end, Visit visit)
{
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= start)
                continue;
            if (fragment.position() >= end)
                break;
            if (!visit(fragment.charFormat()))
                return;
        }
    }
}

// Fills the document with plain text as setPlainText does, in pieces, and asks `goOn` after each
// with the characters put in; false when it answered no.
bool fillPlain(QTextDocument* document, const QString& text,
               const std::function<bool(qsizetype, qsizetype)>& goOn)
{
    // Small enough that a piece of empty lines takes a few tens of milliseconds.
    constexpr qsizetype kPieceCharacters = 16 * 1024;
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool whole = true;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = std::min(start + kPieceCharacters, text.size());
        // CR LF is one line break.
        if (end < text.size() && text.at(end - 1) == QLatin1Char('\r') &&
            text.at(end) == QLatin1Char('\n'))
            ++end;
        cursor.insertText(QStringView(text).sliced(start, end - start).toString());
        start = end;
        if (!goOn(start, text.size())) {
            whole = start == text.size();
            break;
        }
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
    return whole;
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent), m_layoutPacer(new LayoutPacer(this))
{
    setAcceptRichText(true);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (m_replacingDocument)
            return;
        Q_EMIT contentChanged();
        m_changeSeen = false;
    });
    watchDocument();
}

void RichTextBox::watchDocument()
{
    m_layoutPacer->follow(document());
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                m_change = {position, removed, added, !m_changeSeen};
                m_changeSeen = true;
            });
}

QString RichTextBox::plainText(int position, int length) const
{
    QTextCursor cursor(document());
    const int end = plainLength();
    cursor.setPosition(std::clamp(position, 0, end));
    cursor.setPosition(std::clamp(position + length, 0, end), QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    // As toPlainText() gives them.
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
        else if (c == QChar::Nbsp)
            c = QLatin1Char(' ');
    }
    return text;
}

QMimeData* RichTextBox::createMimeDataFromSelection() const
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/rtf"), selectedRtf());
    data->setText(selectedPlainText());
    return data;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(QStringLiteral("text/rtf")) || source->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData* source)
{
    const QByteArray rtf = source->data(QStringLiteral("text/rtf"));
    if (!rtf.isEmpty())
        replaceSelectionWithRtf(rtf);
    else if (!source->text().isEmpty())
        replaceSelection(source->text());
    ensureCursorVisible();
}

int RichTextBox::selectionStart() const
{
    return textCursor().selectionStart();
}

void RichTextBox::setSelectionStart(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, document()->characterCount() - 1));
    setTextCursor(cursor);
}

int RichTextBox::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void RichTextBox::setSelectionLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.setPosition(std::clamp(start + length, start, document()->characterCount() - 1),
                       QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString RichTextBox::selectedPlainText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void RichTextBox::replaceSelection(const QString& text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
}

QByteArray RichTextBox::selectedRtf() const
{
    return RtfWriter::writeSelection(textCursor());
}

void RichTextBox::replaceSelectionWithRtf(const QByteArray& rtf)
{
    if (!RtfReader::isRtf(rtf)) {
        replaceSelection(decodeText(rtf));
        return;
    }
    QTextCursor cursor = textCursor();
    RtfReader::insert(rtf, cursor);
    setTextCursor(cursor);
}

bool RichTextBox::wholeSelection(bool (*test)(const QTextCharFormat&)) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return test(cursor.charFormat());
    bool all = true;
    forEachFormat(document(), cursor.selectionStart(), cursor.selectionEnd(),
                  [&](const QTextCharFormat& format) { return all = test(format); });
    return all;
}

QString RichTextBox::selectionFontName() const
{
    const QTextCursor cursor = textCursor();
    const QString fallback = document()->defaultFont().family();
    const auto nameOf = [&](const QTextCharFormat& format) {
        const QString family = familyOf(format);
        return family.isEmpty() ? fallback : family;
    };
    if (!cursor.hasSelection())
        return nameOf(cursor.charFormat());
    QString common;
    bool first = true;
    forEachFormat(document(), cursor.selectionStart(), cursor.selectionEnd(),
                  [&](const QTextCharFormat& format) {
                      const QString name = nameOf(format);
                      if (first)
                          common = name;
                      else if (name != common)
                          common.clear();
                      first = false;
                      return !common.isEmpty();
                  });
    return common;
}

void RichTextBox::setSelectionFontName(const QString& family)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    mergeFormat(format);
}

double RichTextBox::selectionFontSize() const
{
    const QTextCursor cursor = textCursor();
    const double fallback = document()->defaultFont().pointSizeF();
    const auto sizeOf = [&](const QTextCharFormat& format) {
        return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : fallback;
    };
    if (!cursor.hasSelection())
        return sizeOf(cursor.charFormat());
    double common = -1;
    forEachFormat(document(), cursor.selectionStart(), cursor.selectionEnd(),
                  [&](const QTextCharFormat& format) {
                      const double size = sizeOf(format);
                      if (common < 0)
                          common = size;
                      else if (size != common)
                          common = 0;
                      return common != 0;
                  });
    return std::max(common, 0.0);
}

void RichTextBox::setSelectionFontSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeFormat(format);
}

bool RichTextBox::selectionBold() const
{
    return wholeSelection([](const QTextCharFormat& f) { return f.fontWeight() >= QFont::Bold; });
}

bool RichTextBox::selectionItalic() const
{
    return wholeSelection([](const QTextCharFormat& f) { return f.fontItalic(); });
}

bool RichTextBox::selectionUnderline() const
{
    return wholeSelection([](const QTextCharFormat& f) { return f.fontUnderline(); });
}

bool RichTextBox::selectionStrikeOut() const
{
    return wholeSelection([](const QTextCharFormat& f) { return f.fontStrikeOut(); });
}

bool RichTextBox::selectionBullet() const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        if (!block.textList())
            return false;
        if (block == last)
            break;
    }
    return true;
}

void RichTextBox::setSelectionBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(format);
}

void RichTextBox::setSelectionItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeFormat(format);
}

void RichTextBox::setSelectionUnderline(bool on)
{
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeFormat(format);
}

void RichTextBox::setSelectionStrikeOut(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeFormat(format);
}

void RichTextBox::setSelectionBullet(bool on)
{
    QTextCursor cursor = textCursor();
    if (on) {
        if (!selectionBullet())
            cursor.createList(QTextListFormat::ListDisc);
        return;
    }
    cursor.beginEditBlock();
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    for (QTextBlock block = document()->findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
        if (QTextList* list = block.textList()) {
            list->remove(block);
            QTextCursor at(block);
            QTextBlockFormat format = block.blockFormat();
            format.setIndent(0);
            at.setBlockFormat(format);
        }
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

void RichTextBox::setSelectionColour(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    mergeFormat(format);
}

void RichTextBox::setSelectionAlignment(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Left:
        setAlignment(Qt::AlignLeft);
        break;
    case Alignment::Right:
        setAlignment(Qt::AlignRight);
        break;
    case Alignment::Centre:
        setAlignment(Qt::AlignHCenter);
        break;
    }
}

void RichTextBox::mergeFormat(const QTextCharFormat& format)
{
    mergeCurrentCharFormat(format);
}

int RichTextBox::find(const QString& text, int start, int end, QTextDocument::FindFlags options)
{
    if (text.isEmpty() || start < 0)
        return -1;
    const QTextCursor match = document()->find(text, start, options);
    if (match.isNull() || (end >= 0 && match.selectionEnd() > end))
        return -1;
    setTextCursor(match);
    return match.selectionStart();
}

bool RichTextBox::findNext(const QString& text, QTextDocument::FindFlags options)
{
    if (find(text, textCursor().selectionEnd(), -1, options) >= 0)
        return true;
    QTextCursor cursor = textCursor();
    cursor.clearSelection();
    setTextCursor(cursor);
    return false;
}

RichTextBox::LoadOutcome RichTextBox::loadFile(const QString& path, QString* error,
                                               const LoadProgress& progress)
{
    const auto bytes = readFileWhole(path, error);
    if (!bytes)
        return LoadOutcome::Unreadable;
    if (!isDocument(*bytes))
        return LoadOutcome::NotText;
    auto loaded = std::make_unique<QTextDocument>(this);
    loaded->setDefaultFont(document()->defaultFont());
    LayoutLimits::Check limits(*loaded);
    bool beyond = false;
    const auto goOn = [&](qsizetype done, qsizetype size) {
        beyond = !limits.fitSoFar();
        return !beyond && (!progress || progress(int(done * 1000 / std::max<qsizetype>(size, 1))));
    };
    bool whole = true;
    if (RtfReader::isRtf(*bytes)) {
        whole = RtfReader::read(*bytes, loaded.get(),
                                [&](qsizetype read) { return goOn(read, bytes->size()); });
    } else {
        // A character takes at most four bytes; a line feed is one byte in either encoding.
        if (bytes->size() > 4 * qsizetype(LayoutLimits::kMaxCharacters) ||
            bytes->count('\n') >= LayoutLimits::kMaxParagraphs)
            return LoadOutcome::BeyondLimits;
        const QString text = decodeText(*bytes);
        if (text.size() > LayoutLimits::kMaxCharacters)
            return LoadOutcome::BeyondLimits;
        whole = fillPlain(loaded.get(), text, goOn);
    }
    if (!whole && !beyond)
        return LoadOutcome::Stopped;
    if (beyond || !limits.fit())
        return LoadOutcome::BeyondLimits;
    takeDocument(loaded.release());
    return LoadOutcome::Loaded;
}

bool RichTextBox::isDocument(const QByteArray& bytes)
{
    return RtfReader::isRtf(bytes) || !isBinaryData(bytes);
}

void RichTextBox::setContents(const QByteArray& bytes)
{
    // Built apart and handed over whole: filling the shown document would lay out every piece.
    auto* loaded = new QTextDocument(this);
    loaded->setUndoRedoEnabled(document()->isUndoRedoEnabled());
    loaded->setDefaultFont(document()->defaultFont());
    if (RtfReader::isRtf(bytes))
        RtfReader::read(bytes, loaded);
    else
        loaded->setPlainText(decodeText(bytes));
    takeDocument(loaded);
}

ImportSummary RichTextBox::setSubtitles(const QByteArray& bytes, Timestamp::Style style)
{
    auto* loaded = new QTextDocument(this);
    loaded->setDefaultFont(document()->defaultFont());
    const ImportSummary summary = SubtitleImport::read(bytes, loaded, style);
    takeDocument(loaded);
    return summary;
}

void RichTextBox::takeDocument(QTextDocument* replacement)
{
    // The text area deletes a document it made itself; one made here goes with this widget.
    QPointer<QTextDocument> old = document();
    const int oldLength = plainLength();
    replacement->setUndoRedoEnabled(old->isUndoRedoEnabled());
    // Without a page a document's first layout lays its paragraphs out unbroken, one line each,
    // as many as fill its first step's height: a thousand paragraphs of a transcript at once.
    replacement->setPageSize(old->pageSize());
    // The extra selections (the part heard) are in the old document, whose cursors would be left
    // dangling when it goes.
    setExtraSelections({});
    m_replacingDocument = true;
    setDocument(replacement);
    m_replacingDocument = false;
    if (old && old->parent() == this)
        delete old;
    watchDocument();
    m_change = {0, oldLength, plainLength(), true};
    Q_EMIT contentChanged();
    m_changeSeen = false;
}

QByteArray RichTextBox::fileContents(const QString& path) const
{
    if (QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0) {
        QString text = toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return text.toUtf8();
    }
    return RtfWriter::write(*document());
}

bool RichTextBox::saveFile(const QString& path, QString* error) const
{
    return writeFileWhole(path, fileContents(path), error);
}

void RichTextBox::printSelection(QPagedPaintDevice* printer) const
{
    const QTextCursor cursor = textCursor();
    std::unique_ptr<QTextDocument> printed;
    if (cursor.hasSelection()) {
        printed = std::make_unique<QTextDocument>();
        printed->setDefaultFont(document()->defaultFont());
        QTextCursor(printed.get()).insertFragment(cursor.selection());
    } else {
        printed.reset(document()->clone());
    }
    // Laid out for the printer's page: a document without a page size is printed with margins
    // and page numbers of Qt's own.
    // The page in the document's own units, the screen's pixels; printing scales them.
    const int dpi = QGuiApplication::primaryScreen()
                        ? qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch())
                        : 96;
    printed->setPageSize(printer->pageLayout().paintRectPixels(dpi).size());
    printed->setDocumentMargin(0);
    printed->print(printer);
}

bool RichTextBox::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // A menu shortcut may take the press itself: the override is all this area sees of it.
        notePress(key);
        KeyStroke stroke{key->key(), key->modifiers()};
        Q_EMIT shortcutWanted(stroke);
        if (stroke.swallowed) {
            event->accept();
            return true;
        }
    }
    return QTextEdit::event(event);
}

void RichTextBox::notePress(const QKeyEvent* event)
{
    // A key held down repeats its press: the first one tells what was held.
    if (!event->isAutoRepeat() || !m_pressedWith.contains(event->key()))
        m_pressedWith.insert(event->key(), event->modifiers());
}

void RichTextBox::keyPressEvent(QKeyEvent* event)
{
    notePress(event);
    KeyStroke stroke{event->key(), event->modifiers()};
    Q_EMIT keyDown(stroke);
    if (stroke.swallowed) {
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
    Q_EMIT keyHandled(stroke);
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event)
{
    // A key held down repeats its press, not its release: the key comes up once, at the end.
    const auto pressed = m_pressedWith.constFind(event->key());
    if (event->isAutoRepeat() || pressed == m_pressedWith.cend()) {
        QTextEdit::keyReleaseEvent(event);
        return;
    }
    // Quick typists let Ctrl go before the letter: the press decides.
    KeyStroke stroke{event->key(), *pressed};
    m_pressedWith.erase(pressed);
    Q_EMIT keyUp(stroke);
    if (stroke.swallowed)
        event->accept();
    else
        QTextEdit::keyReleaseEvent(event);
}

void RichTextBox::focusOutEvent(QFocusEvent* event)
{
    // What goes down now goes down elsewhere; what was down here comes up there.
    m_pressedWith.clear();
    QTextEdit::focusOutEvent(event);
}

void RichTextBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        Q_EMIT rightButtonPressed(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTextEdit::mousePressEvent(event);
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->button() == Qt::LeftButton && held == Qt::ControlModifier)
        Q_EMIT controlClicked(cursorForPosition(event->position().toPoint()).position());
}

void RichTextBox::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu key: the same menu, at the caret.
    if (event->reason() == QContextMenuEvent::Keyboard)
        Q_EMIT rightButtonPressed(viewport()->mapToGlobal(cursorRect().center()));
    event->accept();
}
