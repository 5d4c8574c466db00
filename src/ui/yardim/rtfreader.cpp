// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/yardim/rtfreader.h"

#include "jet/cp1254.h"
#include "ui/yardim/helptext.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace {

using namespace std::string_view_literals;

// Bounds on what a parameter may ask for, so that a damaged number cannot ask Qt to lay
// out a font a mile high or a margin wider than the world.
constexpr int kMaxHalfPoints = 3276; // 1638 pt, the largest size word processors offer
constexpr int kMaxTwips = 31680; // 22 inches
constexpr double kTwipsPerPixel = 15.0; // 1440 twips an inch, 96 pixels an inch
constexpr int kMaxControlWordLength = 32;
constexpr char16_t kReplacement = 0xFFFD;

// Destinations whose content is not text the reader can show. Sorted for binary search.
constexpr std::array kSkippedDestinations = {
    "aftncn"sv,
    "aftnsep"sv,
    "aftnsepc"sv,
    "annotation"sv,
    "atnauthor"sv,
    "atndate"sv,
    "atnid"sv,
    "author"sv,
    "background"sv,
    "bkmkend"sv,
    "bkmkstart"sv,
    "buptim"sv,
    "category"sv,
    "comment"sv,
    "company"sv,
    "creatim"sv,
    "datafield"sv,
    "do"sv,
    "doccomm"sv,
    "docvar"sv,
    "falt"sv,
    "fldinst"sv,
    "footer"sv,
    "footerf"sv,
    "footerl"sv,
    "footerr"sv,
    "footnote"sv,
    "ftncn"sv,
    "ftnsep"sv,
    "ftnsepc"sv,
    "generator"sv,
    "header"sv,
    "headerf"sv,
    "headerl"sv,
    "headerr"sv,
    "info"sv,
    "keywords"sv,
    "latentstyles"sv,
    "listoverridetable"sv,
    "listtable"sv,
    "manager"sv,
    "nextfile"sv,
    "nonshppict"sv,
    "objclass"sv,
    "objdata"sv,
    "objname"sv,
    "operator"sv,
    "panose"sv,
    "pict"sv,
    "pn"sv,
    "printim"sv,
    "private"sv,
    "revtbl"sv,
    "revtim"sv,
    "rsidtbl"sv,
    "stylesheet"sv,
    "subject"sv,
    "tc"sv,
    "template"sv,
    "themedata"sv,
    "title"sv,
    "txe"sv,
    "userprops"sv,
    "xe"sv,
    "xmlnstbl"sv,
};

static_assert(std::is_sorted(kSkippedDestinations.begin(), kSkippedDestinations.end()));

bool isSkippedDestination(std::string_view word)
{
    return std::binary_search(kSkippedDestinations.begin(), kSkippedDestinations.end(), word);
}

enum class Destination {
    Text,
    Skip,
    FontTable,
    ColourTable,
};

struct CharState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = 0; // 0: the view's own size
    int font = -1; // -1: the default font named by \deff
    int colour = 0; // index into the colour table; 0 and unknown indexes: automatic
    int background = 0;
    QTextCharFormat::VerticalAlignment verticalAlignment = QTextCharFormat::AlignNormal;

    friend bool operator==(const CharState &, const CharState &) = default;
    friend size_t qHash(const CharState &s, size_t seed = 0)
    {
        return qHashMulti(seed, s.bold, s.italic, s.underline, s.strike, s.halfPoints, s.font,
            s.colour, s.background, int(s.verticalAlignment));
    }
};

struct ParagraphState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstLineTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;

    friend bool operator==(const ParagraphState &, const ParagraphState &) = default;
    friend size_t qHash(const ParagraphState &s, size_t seed = 0)
    {
        return qHashMulti(seed, int(s.alignment), s.leftTwips, s.rightTwips, s.firstLineTwips,
            s.beforeTwips, s.afterTwips);
    }
};

struct GroupState
{
    CharState chars;
    ParagraphState paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // \ucN: bytes of fallback text that follow each \uN
};

int clampTwips(int twips)
{
    return std::clamp(twips, -kMaxTwips, kMaxTwips);
}

double pixels(int twips)
{
    return clampTwips(twips) / kTwipsPerPixel;
}

class Parser
{
public:
    Parser(QByteArrayView input, HelpText &output)
        : m_input(input)
        , m_output(output)
    { }

    bool run();

private:
    GroupState &state() { return m_groups.back(); }

    bool openGroup();
    void closeGroup();
    void readControl();
    void controlSymbol(char symbol);
    void controlWord(std::string_view word, bool hasParameter, int parameter);
    void fontTableWord(std::string_view word, int parameter);
    void colourTableWord(std::string_view word, int parameter);
    void formattingWord(std::string_view word, bool hasParameter, int parameter);

    bool swallowedByUnicodeSkip();
    void addByte(unsigned char byte);
    void addCharacter(char16_t character);
    void flushText();
    void endParagraph();

    int charFormat(const CharState &chars);
    int blockFormat(const ParagraphState &paragraph);
    QTextCharFormat makeCharFormat(const CharState &chars) const;
    static QTextBlockFormat makeBlockFormat(const ParagraphState &paragraph);
    QColor colour(int index) const;

    QByteArrayView m_input;
    qsizetype m_pos = 0;
    HelpText &m_output;
    QList<GroupState> m_groups;
    // Each distinct state is made a format once: a file that switches formats at every
    // character must not cost a format per character.
    QHash<CharState, int> m_charFormats;
    QHash<ParagraphState, int> m_blockFormats;

    QString m_text; // text waiting to be inserted with the current character format
    int m_pendingSkip = 0; // fallback bytes still to drop after a \uN

    QHash<int, QString> m_fonts;
    int m_defaultFont = -1;
    int m_fontEntry = -1; // the \fN whose name the font table is spelling out
    QString m_fontName;

    QList<QColor> m_colours; // invalid colour: the automatic colour
    std::array<int, 3> m_rgb = {0, 0, 0};
    bool m_rgbGiven = false;
};

bool Parser::run()
{
    if (!m_input.startsWith("{\\rtf"))
        return false;

    while (m_pos < m_input.size()) {
        const char byte = m_input[m_pos++];
        switch (byte) {
        case '{':
            if (!openGroup())
                return false;
            break;
        case '}':
            closeGroup();
            if (m_groups.isEmpty())
                m_pos = m_input.size(); // whatever follows the document is not part of it
            break;
        case '\\':
            readControl();
            break;
        case '\r':
        case '\n':
            break; // line breaks in the file are not line breaks in the text
        default:
            addByte(static_cast<unsigned char>(byte));
            break;
        }
    }
    // Input that stops early still shows what came before the break.
    flushText();
    if (!m_groups.isEmpty())
        m_output.setParagraphFormat(blockFormat(state().paragraph));
    return true;
}

bool Parser::openGroup()
{
    if (m_groups.size() >= RtfReader::kMaxGroupDepth)
        return false;
    m_pendingSkip = 0;
    m_groups.append(m_groups.isEmpty() ? GroupState() : state());
    return true;
}

void Parser::closeGroup()
{
    m_pendingSkip = 0;
    if (m_groups.isEmpty())
        return;
    flushText();
    // The document's last paragraph may end with the document instead of a \par.
    if (m_groups.size() == 1)
        m_output.setParagraphFormat(blockFormat(state().paragraph));
    const Destination closing = state().destination;
    m_groups.removeLast();
    // A font entry may end with its group instead of a ";".
    if (closing == Destination::FontTable && !m_fontName.isEmpty())
        fontTableWord("", 0);
}

void Parser::readControl()
{
    if (m_pos >= m_input.size())
        return;
    const char first = m_input[m_pos];
    const bool isLetter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    if (!isLetter) {
        ++m_pos;
        controlSymbol(first);
        return;
    }

    const qsizetype start = m_pos;
    while (m_pos < m_input.size()
        && ((m_input[m_pos] >= 'a' && m_input[m_pos] <= 'z')
            || (m_input[m_pos] >= 'A' && m_input[m_pos] <= 'Z')))
        ++m_pos;
    const qsizetype length = m_pos - start;
    // An overlong word is nobody's keyword; it is read past and ignored.
    const std::string_view word = length <= kMaxControlWordLength
        ? std::string_view(m_input.data() + start, static_cast<size_t>(length))
        : std::string_view();

    bool hasParameter = false;
    bool negative = false;
    if (m_pos + 1 < m_input.size() && m_input[m_pos] == '-' && m_input[m_pos + 1] >= '0'
        && m_input[m_pos + 1] <= '9') {
        negative = true;
        ++m_pos;
    }
    qint64 value = 0;
    while (m_pos < m_input.size() && m_input[m_pos] >= '0' && m_input[m_pos] <= '9') {
        hasParameter = true;
        // Saturate: a thousand digits are still just a very large number.
        value = std::min<qint64>(
            value * 10 + (m_input[m_pos] - '0'), qint64(std::numeric_limits<int>::max()) + 1);
        ++m_pos;
    }
    if (negative)
        value = -value;
    const int parameter = static_cast<int>(std::clamp<qint64>(
        value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    if (m_pos < m_input.size() && m_input[m_pos] == ' ')
        ++m_pos; // the delimiter belongs to the word

    if (word == "bin"sv) {
        // Raw bytes follow; they may contain braces and backslashes that mean nothing.
        if (hasParameter && parameter > 0)
            m_pos += std::min<qsizetype>(parameter, m_input.size() - m_pos);
        swallowedByUnicodeSkip();
        return;
    }
    if (swallowedByUnicodeSkip())
        return;
    controlWord(word, hasParameter, parameter);
}

bool Parser::swallowedByUnicodeSkip()
{
    if (m_pendingSkip <= 0)
        return false;
    --m_pendingSkip;
    return true;
}

void Parser::controlSymbol(char symbol)
{
    if (symbol == '\'') {
        // Two hex digits; anything less is ignored along with the escape.
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_input.size()) {
            const char c = m_input[m_pos];
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                break;
            value = value * 16 + digit;
            ++digits;
            ++m_pos;
        }
        if (swallowedByUnicodeSkip() || digits < 2)
            return;
        addCharacter(cp1254::toUnicode(static_cast<unsigned char>(value)));
        return;
    }
    if (swallowedByUnicodeSkip())
        return;

    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        addCharacter(static_cast<char16_t>(symbol));
        break;
    case '~':
        addCharacter(0x00A0); // non-breaking space
        break;
    case '-':
        addCharacter(0x00AD); // optional hyphen
        break;
    case '_':
        addCharacter(0x2011); // non-breaking hyphen
        break;
    case '\r':
    case '\n':
        if (state().destination == Destination::Text)
            endParagraph();
        break;
    case '*':
        // What follows is a destination an older reader may ignore, and so do we.
        flushText();
        state().destination = Destination::Skip;
        break;
    default:
        break;
    }
}

void Parser::controlWord(std::string_view word, bool hasParameter, int parameter)
{
    GroupState &group = state();
    if (group.destination == Destination::Skip || word.empty())
        return;

    if (isSkippedDestination(word)) {
        flushText();
        group.destination = Destination::Skip;
        return;
    }
    if (group.destination == Destination::FontTable) {
        fontTableWord(word, parameter);
        return;
    }
    if (group.destination == Destination::ColourTable) {
        colourTableWord(word, parameter);
        return;
    }

    // Words that stand for a character.
    if (word == "u"sv) {
        if (!hasParameter)
            return;
        const int code = parameter < 0 ? parameter + 0x10000 : parameter;
        addCharacter(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : kReplacement);
        m_pendingSkip = group.unicodeSkip;
        return;
    }
    static constexpr std::pair<std::string_view, char16_t> kCharacters[] = {
        {"tab"sv, u'\t'},
        {"line"sv, 0x2028},
        {"emdash"sv, 0x2014},
        {"endash"sv, 0x2013},
        {"bullet"sv, 0x2022},
        {"lquote"sv, 0x2018},
        {"rquote"sv, 0x2019},
        {"ldblquote"sv, 0x201C},
        {"rdblquote"sv, 0x201D},
        {"emspace"sv, 0x2003},
        {"enspace"sv, 0x2002},
        {"qmspace"sv, 0x2005},
        {"cell"sv, u'\t'},
    };
    for (const auto &[name, character] : kCharacters) {
        if (word == name) {
            addCharacter(character);
            return;
        }
    }

    flushText();
    if (word == "par"sv || word == "row"sv || word == "page"sv || word == "sect"sv) {
        endParagraph();
    } else if (word == "fonttbl"sv) {
        group.destination = Destination::FontTable;
        m_fontName.clear();
    } else if (word == "colortbl"sv) {
        group.destination = Destination::ColourTable;
        m_colours.clear();
        m_rgbGiven = false;
    } else if (word == "deff"sv) {
        m_defaultFont = parameter;
        m_charFormats.clear();
    } else if (word == "uc"sv) {
        group.unicodeSkip = std::max(parameter, 0);
    } else {
        formattingWord(word, hasParameter, parameter);
    }
}

void Parser::formattingWord(std::string_view word, bool hasParameter, int parameter)
{
    CharState &chars = state().chars;
    ParagraphState &paragraph = state().paragraph;
    // Toggles: a bare word or any non-zero parameter switches on, zero switches off.
    const bool on = !hasParameter || parameter != 0;

    if (word == "plain"sv)
        chars = CharState();
    else if (word == "b"sv)
        chars.bold = on;
    else if (word == "i"sv)
        chars.italic = on;
    else if (word == "ul"sv || word == "ulw"sv || word == "uld"sv || word == "uldb"sv
        || word == "uldash"sv || word == "ulth"sv || word == "ulwave"sv)
        chars.underline = on;
    else if (word == "ulnone"sv)
        chars.underline = false;
    else if (word == "strike"sv || word == "striked"sv)
        chars.strike = on;
    else if (word == "fs"sv)
        chars.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, kMaxHalfPoints) : 0;
    else if (word == "f"sv)
        chars.font = hasParameter ? parameter : -1;
    else if (word == "cf"sv)
        chars.colour = parameter;
    else if (word == "cb"sv || word == "highlight"sv)
        chars.background = parameter;
    else if (word == "super"sv)
        chars.verticalAlignment = QTextCharFormat::AlignSuperScript;
    else if (word == "sub"sv)
        chars.verticalAlignment = QTextCharFormat::AlignSubScript;
    else if (word == "nosupersub"sv)
        chars.verticalAlignment = QTextCharFormat::AlignNormal;
    else if (word == "pard"sv)
        paragraph = ParagraphState();
    else if (word == "ql"sv)
        paragraph.alignment = Qt::AlignLeft;
    else if (word == "qc"sv)
        paragraph.alignment = Qt::AlignHCenter;
    else if (word == "qr"sv)
        paragraph.alignment = Qt::AlignRight;
    else if (word == "qj"sv || word == "qd"sv)
        paragraph.alignment = Qt::AlignJustify;
    else if (word == "li"sv)
        paragraph.leftTwips = clampTwips(parameter);
    else if (word == "ri"sv)
        paragraph.rightTwips = clampTwips(parameter);
    else if (word == "fi"sv)
        paragraph.firstLineTwips = clampTwips(parameter);
    else if (word == "sb"sv)
        paragraph.beforeTwips = clampTwips(parameter);
    else if (word == "sa"sv)
        paragraph.afterTwips = clampTwips(parameter);
    // Any other word changes nothing this reader renders, and is passed over.
}

void Parser::fontTableWord(std::string_view word, int parameter)
{
    if (word == "f"sv) {
        m_fontEntry = parameter;
        m_fontName.clear();
    } else if (word.empty()) {
        // End of an entry (a ";" or its group closing).
        const QString name = m_fontName.trimmed();
        if (!name.isEmpty() && m_fontEntry >= 0 && !m_fonts.contains(m_fontEntry)) {
            m_fonts.insert(m_fontEntry, name);
            m_charFormats.clear();
        }
        m_fontName.clear();
    }
}

void Parser::colourTableWord(std::string_view word, int parameter)
{
    const int component = std::clamp(parameter, 0, 255);
    if (word == "red"sv)
        m_rgb[0] = component;
    else if (word == "green"sv)
        m_rgb[1] = component;
    else if (word == "blue"sv)
        m_rgb[2] = component;
    else if (!word.empty())
        return;

    if (word.empty()) {
        // End of an entry: one without components is the automatic colour.
        m_colours.append(m_rgbGiven ? QColor(m_rgb[0], m_rgb[1], m_rgb[2]) : QColor());
        m_charFormats.clear();
        m_rgb = {0, 0, 0};
        m_rgbGiven = false;
    } else {
        m_rgbGiven = true;
    }
}

void Parser::addByte(unsigned char byte)
{
    if (byte < 0x20 && byte != '\t')
        return; // not even a fallback character
    if (swallowedByUnicodeSkip())
        return;
    const Destination destination = state().destination;
    if (byte == ';' && destination == Destination::FontTable) {
        fontTableWord("", 0);
        return;
    }
    if (byte == ';' && destination == Destination::ColourTable) {
        colourTableWord("", 0);
        return;
    }
    addCharacter(cp1254::toUnicode(byte));
}

void Parser::addCharacter(char16_t character)
{
    // Control characters are not text in RTF, except a tab.
    if (m_groups.isEmpty() || (character < 0x20 && character != u'\t'))
        return;
    switch (state().destination) {
    case Destination::Text:
        m_text.append(QChar(character));
        break;
    case Destination::FontTable:
        m_fontName.append(QChar(character));
        break;
    case Destination::Skip:
    case Destination::ColourTable:
        break;
    }
}

void Parser::flushText()
{
    if (m_text.isEmpty())
        return;
    // Only the reader decides where blocks and frames begin: characters the document
    // would read as structure, and halves of surrogate pairs, become replacement marks.
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c.isHighSurrogate() && i + 1 < m_text.size() && m_text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        const char16_t u = c.unicode();
        if (c.isSurrogate() || u == QChar::ParagraphSeparator
            || u == QChar::ObjectReplacementCharacter || u == 0xFDD0 || u == 0xFDD1
            || (u < 0x20 && u != u'\t'))
            m_text[i] = QChar(kReplacement);
    }
    m_output.append(m_text, charFormat(state().chars));
    m_text.clear();
}

void Parser::endParagraph()
{
    flushText();
    m_output.setParagraphFormat(blockFormat(state().paragraph));
    m_output.endParagraph();
}

int Parser::charFormat(const CharState &chars)
{
    auto found = m_charFormats.constFind(chars);
    if (found == m_charFormats.cend())
        found = m_charFormats.insert(chars, m_output.addCharFormat(makeCharFormat(chars)));
    return *found;
}

int Parser::blockFormat(const ParagraphState &paragraph)
{
    auto found = m_blockFormats.constFind(paragraph);
    if (found == m_blockFormats.cend())
        found
            = m_blockFormats.insert(paragraph, m_output.addBlockFormat(makeBlockFormat(paragraph)));
    return *found;
}

QTextCharFormat Parser::makeCharFormat(const CharState &chars) const
{
    QTextCharFormat format;
    format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(chars.italic);
    format.setFontUnderline(chars.underline);
    format.setFontStrikeOut(chars.strike);
    format.setVerticalAlignment(chars.verticalAlignment);
    if (chars.halfPoints > 0)
        format.setFontPointSize(chars.halfPoints / 2.0);
    const auto font = m_fonts.constFind(chars.font >= 0 ? chars.font : m_defaultFont);
    if (font != m_fonts.cend())
        format.setFontFamilies({*font});
    if (const QColor foreground = colour(chars.colour); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = colour(chars.background); background.isValid())
        format.setBackground(background);
    return format;
}

QTextBlockFormat Parser::makeBlockFormat(const ParagraphState &paragraph)
{
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    format.setLeftMargin(std::max(0.0, pixels(paragraph.leftTwips)));
    format.setRightMargin(std::max(0.0, pixels(paragraph.rightTwips)));
    format.setTextIndent(pixels(paragraph.firstLineTwips));
    format.setTopMargin(std::max(0.0, pixels(paragraph.beforeTwips)));
    format.setBottomMargin(std::max(0.0, pixels(paragraph.afterTwips)));
    return format;
}

QColor Parser::colour(int index) const
{
    return index > 0 && index < m_colours.size() ? m_colours[index] : QColor();
}

} // namespace

bool RtfReader::read(QByteArrayView rtf, HelpText &text)
{
    HelpText read;
    if (!Parser(rtf, read).run())
        return false;
    text = std::move(read);
    return true;
}

bool RtfReader::read(QByteArrayView rtf, QTextDocument &document)
{
    HelpText text;
    if (!read(rtf, text))
        return false;
    text.writeAllTo(document);
    return true;
}
