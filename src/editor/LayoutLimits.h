#pragma once

class QTextDocument;

// What the text area lays out without holding up the window, far beyond any transcript. Qt lays
// a paragraph out in one go, at a cost that grows with its characters and its changes of
// formatting; breaking a stretch with no place to break into lines grows with its square; and
// holding the whole text costs time and memory for every character and paragraph.
namespace LayoutLimits {

constexpr int kMaxCharacters = 10'000'000;
constexpr int kMaxParagraphs = 250'000;
constexpr int kMaxParagraphLength = 100'000;
constexpr int kMaxParagraphRuns = 10'000;
constexpr int kMaxUnbrokenLength = 1'000;

// Checks a document against the limits while it is filled, each paragraph once.
class Check {
public:
    explicit Check(const QTextDocument& document) : m_document(document) {}
    // Whether what is in the document so far fits: the totals, the paragraphs completed since
    // the last call, and the length of the last one.
    bool fitSoFar();
    // Whether the whole document fits.
    bool fit();

private:
    bool paragraphsFit(int end);

    const QTextDocument& m_document;
    int m_checkedParagraphs = 0;
};

} // namespace LayoutLimits
