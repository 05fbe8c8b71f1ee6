#pragma once

#include "rtf/RtfOutput.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QString>
#include <QTextFormat>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTextList;

// Writes a stretch of a document as compact RTF: the tables of the fonts, colours and lists
// used, then each paragraph with only the properties that change from run to run. Lists are
// written as word processors write them (\listtable, \lsN, \ilvlN), with the item's mark in a
// \listtext group for readers that know no lists.
class RtfDocumentWriter {
public:
    explicit RtfDocumentWriter(const QTextDocument& document);

    // The characters from `from` up to `to`; each paragraph begun in that stretch ends with \par.
    QByteArray write(int from, int to);

private:
    struct RunProps {
        int font = 0;
        int halfPoints = 24;
        int foreground = 0; // colour table index; 0 is automatic
        int background = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool operator==(const RunProps&) const = default;
    };
    struct ListEntry {
        int style = 0;
        int level = 0;
        int itemsWritten = 0;
    };

    const RunProps& propsOfFormat(int formatIndex);
    int fontIndex(const QString& family);
    int colorIndex(const QBrush& brush);
    int listIndex(const QTextList* list);

    void writeParagraphStart(const QTextBlock& block);
    void writeProps(const RunProps& props);
    QByteArray header() const;

    const QTextDocument& m_document;
    const QList<QTextFormat> m_formats;
    std::vector<int> m_propsOfFormat; // index into m_props, -1 until first asked
    std::vector<RunProps> m_props;
    QString m_defaultFamily;
    double m_defaultPointSize;

    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    std::vector<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
    std::vector<ListEntry> m_lists;
    QHash<const QTextList*, int> m_listIndex;

    RtfOutput m_out;
    RunProps m_current;
};
