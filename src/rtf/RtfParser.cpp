#include "rtf/RtfParser.h"

#include "rtf/RtfControlWords.h"

#include <algorithm>
#include <utility>

namespace {

constexpr size_t kMaxFontNameBytes = 256;
constexpr int kMaxListLevel = 8;

bool isStarredDestination(RtfWord word)
{
    switch (word) {
    case RtfWord::FontTable:
    case RtfWord::ColorTable:
    case RtfWord::ListTable:
    case RtfWord::ListOverrideTable:
    case RtfWord::Pn:
    case RtfWord::ShellText:
    case RtfWord::NestTableProps:
        return true;
    default:
        return false;
    }
}

// The list style a bullet level's text shows, as Word and LibreOffice write them: a bullet from
// the Symbol font or Unicode, an "o" or white bullet, a square from Wingdings or Unicode.
int bulletStyle(const QString& levelText)
{
    for (const QChar c : levelText) {
        switch (c.unicode()) {
        case 0x2022:
        case 0x00B7:
        case 0xF0B7:
        case 0x25CF:
            return QTextListFormat::ListDisc;
        case 'o':
        case 0x25E6:
        case 0x25CB:
            return QTextListFormat::ListCircle;
        case 0x25AA:
        case 0x25A0:
        case 0xF0A7:
        case 0xF0A8:
        case 0x00A7: // Wingdings' square read as code page 1252
            return QTextListFormat::ListSquare;
        default:
            break;
        }
    }
    return 0;
}

bool isOn(const RtfTokenizer::Token& token)
{
    return !token.hasParam || token.param != 0;
}

} // namespace

RtfParser::RtfParser(QByteArrayView rtf, QTextCursor& cursor, bool inserting)
    : m_tokenizer(rtf), m_size(rtf.size()), m_builder(cursor, m_tables, inserting)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
}

void RtfParser::run()
{
    while (handleNextToken()) {
    }
}

bool RtfParser::runFor(qsizetype bytes)
{
    const qsizetype stop = m_tokenizer.remaining() - bytes;
    while (m_tokenizer.remaining() > stop) {
        if (!handleNextToken())
            return true;
    }
    return false;
}

bool RtfParser::handleNextToken()
{
    using Kind = RtfTokenizer::Kind;
    if (m_finished)
        return false;
    const RtfTokenizer::Token token = m_tokenizer.next();
    const bool starred = std::exchange(m_starred, false);
    const bool atGroupStart = std::exchange(m_atGroupStart, false);
    if (token.kind == Kind::End) {
        m_finished = true;
        finish();
        return false;
    }
    if (state().destination == RtfDestination::Skip) {
        // Only the groups and \bin matter in what is not shown.
        if (token.kind == Kind::GroupStart)
            openGroup();
        else if (token.kind == Kind::GroupEnd)
            closeGroup();
        else if (token.kind == Kind::Word && token.hasParam && token.text == "bin")
            m_tokenizer.skipBytes(token.param);
        return true;
    }
    switch (token.kind) {
    case Kind::End:
        break;
    case Kind::GroupStart:
        flushBytes();
        openGroup();
        m_atGroupStart = true;
        break;
    case Kind::GroupEnd:
        flushBytes();
        closeGroup();
        break;
    case Kind::Word:
        handleWord(token, starred);
        break;
    case Kind::Symbol:
        handleSymbol(token.symbol);
        break;
    case Kind::HexByte: {
        const char byte = char(token.symbol);
        handleText(std::string_view(&byte, 1), true);
        break;
    }
    case Kind::Text:
        // Some writers drop the backslash of \*: "{*\word" is an optional destination too.
        if (atGroupStart && token.text == "*" && m_tokenizer.atControlWord()) {
            m_starred = true;
            break;
        }
        handleText(token.text, false);
        break;
    }
    return true;
}

void RtfParser::finish()
{
    flushBytes();
    endSurrogate();
    if (m_fontNameOpen)
        endFontName();
    // A last paragraph with no \par has the properties of the group its text was in: the
    // innermost open one that holds text, even when the file ends inside a table.
    if (m_stack.size() == 1 && m_haveTopLevelPara) {
        m_builder.finish(m_lastTopLevelPara);
        return;
    }
    const auto text = std::find_if(m_stack.rbegin(), m_stack.rend(), [](const RtfGroupState& s) {
        return s.destination == RtfDestination::Text;
    });
    m_builder.finish(text == m_stack.rend() ? RtfParaProps() : text->para);
}

void RtfParser::openGroup()
{
    m_fallbackToSkip = 0;
    if (m_stack.size() >= kMaxDepth) {
        ++m_overflowDepth;
        return;
    }
    const RtfGroupState copy = m_stack.back();
    m_stack.push_back(copy);
}

void RtfParser::closeGroup()
{
    m_fallbackToSkip = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() == 1)
        return; // a closing brace too many
    const RtfGroupState closing = m_stack.back();
    m_stack.pop_back();
    RtfGroupState& parent = state();
    switch (closing.destination) {
    case RtfDestination::FontTable:
        if (m_fontNameOpen)
            endFontName();
        if (parent.destination != RtfDestination::FontTable)
            m_builder.forgetFormats();
        break;
    case RtfDestination::ColorTable:
        if (m_colorGiven)
            addColor(); // the last entry lacked its semicolon
        if (parent.destination != RtfDestination::ColorTable)
            m_builder.forgetFormats();
        break;
    case RtfDestination::ListTable:
    case RtfDestination::ListOverrideTable:
        if (parent.destination != closing.destination)
            m_tables.indexLists();
        break;
    case RtfDestination::LevelText:
        if (parent.destination == RtfDestination::ListTable && !m_tables.lists.empty() &&
            !m_tables.lists.back().levels.empty())
            m_tables.lists.back().levels.back().bulletStyle = bulletStyle(m_levelText);
        break;
    case RtfDestination::Pn:
        // The numbering the group described belongs to the paragraph around it.
        if (parent.destination == RtfDestination::Text) {
            parent.para.list = closing.para.list;
            parent.para.level = closing.para.level;
            parent.para.pnBullet = closing.para.pnBullet;
            parent.para.pnNumberStyle = closing.para.pnNumberStyle;
        }
        break;
    default:
        break;
    }
    if (m_stack.size() == 1 && closing.destination == RtfDestination::Text) {
        m_lastTopLevelPara = closing.para;
        m_haveTopLevelPara = true;
    }
}

bool RtfParser::consumeFallback()
{
    if (m_fallbackToSkip <= 0)
        return false;
    --m_fallbackToSkip;
    return true;
}

void RtfParser::handleWord(const RtfTokenizer::Token& token, bool starred)
{
    const RtfWordInfo info = rtfWordInfo(token.text);
    RtfGroupState& s = state();
    const int param = token.param;
    if (info.word == RtfWord::Unicode) {
        flushBytes();
        if (token.hasParam)
            appendUnicode(param);
        m_fallbackToSkip = s.unicodeSkip;
        return;
    }
    flushBytes();
    if (info.word == RtfWord::Character && consumeFallback())
        return;
    if (starred && !isStarredDestination(info.word)) {
        s.destination = RtfDestination::Skip;
        return;
    }

    const RtfDestination destination = s.destination;
    switch (info.word) {
    case RtfWord::Unknown:
    case RtfWord::Unicode:
        break;
    case RtfWord::SkipDestination:
        s.destination = RtfDestination::Skip;
        break;
    case RtfWord::FontTable:
        s.destination = RtfDestination::FontTable;
        break;
    case RtfWord::ColorTable:
        s.destination = RtfDestination::ColorTable;
        m_tables.colors.clear();
        m_colorGiven = false;
        m_red = m_green = m_blue = 0;
        break;
    case RtfWord::ListTable:
        // A second table replaces the first, as with colours; so each is indexed once.
        if (destination != RtfDestination::ListTable) {
            m_tables.lists.clear();
            m_tables.indexLists();
        }
        s.destination = RtfDestination::ListTable;
        break;
    case RtfWord::ListOverrideTable:
        if (destination != RtfDestination::ListOverrideTable) {
            m_tables.listOverrides.clear();
            m_tables.indexLists();
        }
        s.destination = RtfDestination::ListOverrideTable;
        break;
    case RtfWord::Pn:
        if (destination != RtfDestination::Text) {
            s.destination = RtfDestination::Skip;
            break;
        }
        s.destination = RtfDestination::Pn;
        s.para.list = RtfListSource::None;
        s.para.level = 0;
        s.para.pnBullet = false;
        s.para.pnNumberStyle = QTextListFormat::ListDecimal;
        break;
    case RtfWord::Shell:
        s.destination =
            destination == RtfDestination::Text ? RtfDestination::Shell : RtfDestination::Skip;
        break;
    case RtfWord::ShellText:
        if (destination == RtfDestination::Shell)
            s.destination = RtfDestination::Text;
        break;
    case RtfWord::DocumentCharset:
        m_tables.ansiCodePage = info.value;
        tablesChanged();
        break;
    case RtfWord::AnsiCodePage:
        if (param > 0) {
            m_tables.ansiCodePage = param;
            tablesChanged();
        }
        break;
    case RtfWord::DefaultFont:
        m_tables.defaultFont = std::max(param, 0);
        tablesChanged();
        break;
    case RtfWord::Font:
        if (destination == RtfDestination::FontTable) {
            startFont(param);
        } else {
            s.fonts.plain = param < 0 ? -1 : param;
            if (s.fonts.charClass != RtfCharClass::None)
                s.fonts.classFont[int(s.fonts.charClass)] = s.fonts.plain;
            s.chars.font = s.fonts.font();
        }
        break;
    case RtfWord::AssociatedFont:
        if (s.fonts.charClass != RtfCharClass::None && !s.fonts.complexScript) {
            s.fonts.classFont[int(s.fonts.charClass)] = param < 0 ? -1 : param;
            s.chars.font = s.fonts.font();
        }
        break;
    case RtfWord::CharClass:
        s.fonts.charClass = RtfCharClass(info.value);
        s.fonts.complexScript = false;
        s.chars.font = s.fonts.font();
        break;
    case RtfWord::ComplexScript:
        s.fonts.complexScript = token.hasParam ? param != 0 : info.value != 0;
        break;
    case RtfWord::FontCharset:
    case RtfWord::FontCodePage:
        if (destination == RtfDestination::FontTable && m_tables.fonts.contains(m_font)) {
            RtfFont& font = m_tables.fonts[m_font];
            (info.word == RtfWord::FontCharset ? font.charset : font.codePage) = param;
            tablesChanged();
        }
        break;
    case RtfWord::Red:
    case RtfWord::Green:
    case RtfWord::Blue:
        if (destination == RtfDestination::ColorTable) {
            const int component = std::clamp(param, 0, 255);
            (info.word == RtfWord::Red     ? m_red
             : info.word == RtfWord::Green ? m_green
                                           : m_blue) = component;
            m_colorGiven = true;
        }
        break;
    case RtfWord::List:
        if (destination == RtfDestination::ListTable)
            m_tables.lists.emplace_back();
        break;
    case RtfWord::ListLevel:
        if (destination == RtfDestination::ListTable) {
            if (m_tables.lists.empty())
                m_tables.lists.emplace_back();
            m_tables.lists.back().levels.emplace_back();
        }
        break;
    case RtfWord::LevelNumberFormat:
        if (destination == RtfDestination::ListTable && !m_tables.lists.empty() &&
            !m_tables.lists.back().levels.empty())
            m_tables.lists.back().levels.back().numberFormat = param;
        break;
    case RtfWord::LevelText:
        if (destination == RtfDestination::ListTable) {
            s.destination = RtfDestination::LevelText;
            m_levelText.clear();
        } else {
            s.destination = RtfDestination::Skip;
        }
        break;
    case RtfWord::ListId:
        if (destination == RtfDestination::ListTable) {
            if (m_tables.lists.empty())
                m_tables.lists.emplace_back();
            m_tables.lists.back().id = param;
        } else if (destination == RtfDestination::ListOverrideTable) {
            if (m_tables.listOverrides.empty())
                m_tables.listOverrides.emplace_back();
            m_tables.listOverrides.back().listId = param;
        }
        break;
    case RtfWord::ListOverride:
        if (destination == RtfDestination::ListOverrideTable)
            m_tables.listOverrides.emplace_back();
        break;
    case RtfWord::ListOverrideIndex:
        if (destination == RtfDestination::ListOverrideTable) {
            if (m_tables.listOverrides.empty())
                m_tables.listOverrides.emplace_back();
            m_tables.listOverrides.back().index = param;
        } else if (destination == RtfDestination::Text) {
            s.para.list = RtfListSource::Table;
            s.para.listOverride = param;
        }
        break;
    case RtfWord::ListLevelIndex:
        s.para.level = std::clamp(param, 0, kMaxListLevel);
        break;
    case RtfWord::PnBullet:
    case RtfWord::PnBody:
    case RtfWord::PnLevel:
        if (destination == RtfDestination::Pn) {
            s.para.list = RtfListSource::Pn;
            s.para.pnBullet = info.word == RtfWord::PnBullet;
            s.para.level =
                info.word == RtfWord::PnLevel ? std::clamp(param, 1, kMaxListLevel + 1) - 1 : 0;
        }
        break;
    case RtfWord::PnContinue:
        if (destination == RtfDestination::Pn)
            s.para.list = RtfListSource::None;
        break;
    case RtfWord::PnNumberStyle:
        if (destination == RtfDestination::Pn)
            s.para.pnNumberStyle = info.value;
        break;
    case RtfWord::Par:
        if (destination == RtfDestination::Text) {
            endSurrogate();
            m_builder.endParagraph(s.para);
        }
        break;
    case RtfWord::Pard:
        s.para = RtfParaProps();
        break;
    case RtfWord::Align:
        s.para.alignment = info.value;
        break;
    case RtfWord::Cell:
        appendCharacter('\t');
        break;
    case RtfWord::NestTableProps:
        s.destination = destination == RtfDestination::Text ? RtfDestination::NestTableProps
                                                            : RtfDestination::Skip;
        break;
    case RtfWord::NestRow:
        // A nested table is flattened into its cell as the outer ones are: a paragraph per row.
        if (destination == RtfDestination::Text || destination == RtfDestination::NestTableProps) {
            endSurrogate();
            m_builder.endParagraph(s.para);
        }
        break;
    case RtfWord::Plain:
        s.chars = RtfCharProps();
        s.fonts = RtfFontSelection();
        break;
    case RtfWord::Bold:
        s.chars.bold = isOn(token);
        break;
    case RtfWord::Italic:
        s.chars.italic = isOn(token);
        break;
    case RtfWord::Underline:
        s.chars.underline = isOn(token);
        break;
    case RtfWord::UnderlineNone:
        s.chars.underline = false;
        break;
    case RtfWord::Strike:
    case RtfWord::StrikeDouble:
        s.chars.strike = isOn(token);
        break;
    case RtfWord::FontSize:
        s.chars.halfPoints = token.hasParam ? std::clamp(param, 2, 3276) : 24;
        break;
    case RtfWord::Foreground:
        s.chars.foreground = std::max(param, 0);
        break;
    case RtfWord::Background:
        s.chars.background = std::max(param, 0);
        break;
    case RtfWord::Hidden:
        s.chars.hidden = isOn(token);
        break;
    case RtfWord::UnicodeSkip:
        s.unicodeSkip = token.hasParam ? std::clamp(param, 0, 16) : 1;
        break;
    case RtfWord::Bin:
        if (token.hasParam)
            m_tokenizer.skipBytes(param);
        break;
    case RtfWord::Character:
        appendCharacter(char32_t(info.value));
        break;
    }
}

void RtfParser::handleSymbol(unsigned char symbol)
{
    switch (symbol) {
    case '*':
        m_starred = true;
        return;
    case '\\':
    case '{':
    case '}': {
        flushBytes();
        const char byte = char(symbol);
        handleText(std::string_view(&byte, 1), true);
        return;
    }
    case '~':
    case '_':
    case '-':
        flushBytes();
        if (consumeFallback() || symbol == '-')
            return; // an optional hyphen shows only where a line breaks
        appendCharacter(symbol == '~' ? 0x00A0 : 0x2011);
        return;
    default:
        return;
    }
}

void RtfParser::handleText(std::string_view bytes, bool escaped)
{
    if (m_fallbackToSkip > 0) {
        const size_t skipped = std::min(bytes.size(), size_t(m_fallbackToSkip));
        bytes.remove_prefix(skipped);
        m_fallbackToSkip -= int(skipped);
        if (bytes.empty())
            return;
    }
    const RtfGroupState& s = state();
    switch (s.destination) {
    case RtfDestination::Text:
        if (!s.chars.hidden)
            appendBytes(bytes);
        break;
    case RtfDestination::FontTable:
        fontNameBytes(bytes, escaped);
        break;
    case RtfDestination::LevelText:
        if (m_levelText.size() < 16)
            decoder().decode(bytes, m_levelText);
        break;
    case RtfDestination::ColorTable:
        if (!escaped) {
            for (const char c : bytes) {
                if (c == ';')
                    addColor();
            }
        }
        break;
    default:
        break;
    }
}

const RtfByteDecoder& RtfParser::decoder()
{
    const int font = state().chars.font;
    const RtfCharClass charClass = state().fonts.charClass;
    if (font != m_decoderFont || charClass != m_decoderClass ||
        m_decoderGeneration != m_tablesGeneration) {
        m_decoder = &m_decoders.forCodePage(m_tables.codePageOf(font, charClass));
        m_decoderFont = font;
        m_decoderClass = charClass;
        m_decoderGeneration = m_tablesGeneration;
    }
    return *m_decoder;
}

void RtfParser::appendBytes(std::string_view bytes)
{
    endSurrogate();
    const RtfByteDecoder& byteDecoder = decoder();
    if (byteDecoder.isMultiByte()) {
        // A character's bytes may come as several \'hh, or as \'hh then plain text.
        if (m_pendingDecoder != &byteDecoder)
            flushBytes();
        m_pendingDecoder = &byteDecoder;
        m_pendingBytes.append(bytes.data(), qsizetype(bytes.size()));
        return;
    }
    byteDecoder.decode(bytes, m_builder.textFor(state().chars));
}

void RtfParser::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    m_pendingDecoder->decode(std::string_view(m_pendingBytes.constData(), m_pendingBytes.size()),
                             m_builder.textFor(state().chars));
    m_pendingBytes.resize(0);
}

void RtfParser::appendUnicode(int code)
{
    if (code < 0)
        code += 0x10000; // RTF writes 32768-65535 as negative numbers
    if (code < 0 || code > 0x10FFFF)
        return;
    // Word writes the Symbol font's characters in the private area at F000.
    if (code >= 0xF020 && code <= 0xF0FF && state().destination == RtfDestination::Text &&
        decoder().isSymbol()) {
        if (const char16_t symbol = decoder().character((unsigned char)(code - 0xF000)))
            code = symbol;
    }
    appendCharacter(char32_t(code));
}

void RtfParser::endSurrogate()
{
    if (!m_highSurrogate)
        return;
    m_highSurrogate = 0;
    if (state().destination == RtfDestination::Text && !state().chars.hidden)
        m_builder.textFor(state().chars).append(QChar(QChar::ReplacementCharacter));
}

void RtfParser::appendCharacter(char32_t c)
{
    const RtfGroupState& s = state();
    if (s.destination == RtfDestination::FontTable) {
        if (m_fontNameOpen && c >= 0x20 && m_fontName.size() < qsizetype(kMaxFontNameBytes)) {
            endFontName();
            m_fontNameOpen = true;
            m_fontName.append(QChar::fromUcs4(c));
        }
        return;
    }
    if (s.destination == RtfDestination::LevelText && m_levelText.size() < 16)
        m_levelText.append(QChar::fromUcs4(c));
    if (s.destination != RtfDestination::Text || s.chars.hidden)
        return;
    if (QChar::isLowSurrogate(c) && m_highSurrogate) {
        QString& run = m_builder.textFor(s.chars);
        run.append(QChar(std::exchange(m_highSurrogate, 0)));
        run.append(QChar(char16_t(c)));
        return;
    }
    endSurrogate();
    if (QChar::isHighSurrogate(c)) {
        m_highSurrogate = char16_t(c);
        return;
    }
    if ((c < 0x20 && c != '\t') || QChar::isLowSurrogate(c) || c == 0xFDD0 || c == 0xFDD1 ||
        c == 0xFFFC)
        return; // these would break the document's structure
    if (c == QChar::ParagraphSeparator)
        c = QChar::LineSeparator;
    QString& run = m_builder.textFor(s.chars);
    if (c > 0xFFFF) {
        const QChar pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        run.append(pair, 2);
    } else {
        run.append(QChar(char16_t(c)));
    }
}

void RtfParser::startFont(int number)
{
    if (m_fontNameOpen)
        endFontName();
    m_font = number;
    m_tables.fonts.insert(number, RtfFont());
    m_fontNameOpen = true;
    m_fontNameBytes.clear();
    m_fontName.clear();
    tablesChanged();
}

void RtfParser::fontNameBytes(std::string_view bytes, bool escaped)
{
    if (!m_fontNameOpen)
        return;
    const size_t end = escaped ? std::string_view::npos : bytes.find(';');
    const std::string_view name = bytes.substr(0, end);
    const size_t room =
        kMaxFontNameBytes - std::min<size_t>(kMaxFontNameBytes, m_fontNameBytes.size());
    m_fontNameBytes.append(name.data(), qsizetype(std::min(room, name.size())));
    if (end != std::string_view::npos)
        endFontName();
}

void RtfParser::endFontName()
{
    // Called with the name open: decodes its bytes, and closes it unless the caller reopens it.
    if (!m_fontNameBytes.isEmpty()) {
        m_decoders.forCodePage(m_tables.codePageOf(m_font))
            .decode(std::string_view(m_fontNameBytes.constData(), m_fontNameBytes.size()),
                    m_fontName);
        m_fontNameBytes.clear();
    }
    m_fontNameOpen = false;
    auto it = m_tables.fonts.find(m_font);
    if (it != m_tables.fonts.end()) {
        // What cannot be part of a name: control characters (a tab may come as a raw byte),
        // marks of structure, a semicolon (from \u59).
        m_fontName.removeIf([](QChar c) {
            return c.unicode() < 0x20 || c == QChar::ObjectReplacementCharacter ||
                   c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
                   c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1 || c == u';';
        });
        it->family = m_fontName.left(qsizetype(kMaxFontNameBytes)).trimmed();
    }
    tablesChanged();
}

void RtfParser::addColor()
{
    m_tables.colors.push_back(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
    m_colorGiven = false;
    m_red = m_green = m_blue = 0;
}
