#include "core/ListeningOptions.h"

#include "core/OptionLines.h"
#include "platform/TextFile.h"

#include <variant>

namespace {

// A rest shorter than a slow typist's gap between keys would play between the letters.
constexpr int kShortestRestMs = 200;
constexpr int kLongestRestMs = 60000;

struct Range {
    int ListeningOptions::*field;
    int lowest;
    int highest;
};

struct Field {
    const char* name;
    std::variant<bool ListeningOptions::*, Range> value;
};

const Field kFields[] = {
    {"TypeToPause", &ListeningOptions::typeToPause},
    {"TypingRestMs", Range{&ListeningOptions::typingRestMs, kShortestRestMs, kLongestRestMs}},
    {"GrowingStepBack", &ListeningOptions::growingStepBack},
    {"LoopSeconds", Range{&ListeningOptions::loopSeconds, ListeningOptions::kShortestLoop,
                          ListeningOptions::kLongestLoop}},
    {"FollowAlong", &ListeningOptions::followAlong},
};

void readValue(ListeningOptions& options, const Field& field, const QString& value)
{
    if (const auto* flag = std::get_if<bool ListeningOptions::*>(&field.value)) {
        options.*(*flag) = OptionLines::yesOrNo(value).value_or(options.*(*flag));
        return;
    }
    const Range& range = std::get<Range>(field.value);
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    if (ok && number >= range.lowest && number <= range.highest)
        options.*range.field = number;
}

QString valueText(const ListeningOptions& options, const Field& field)
{
    if (const auto* flag = std::get_if<bool ListeningOptions::*>(&field.value))
        return OptionLines::yesOrNo(options.*(*flag));
    return QString::number(options.*std::get<Range>(field.value).field);
}

} // namespace

ListeningOptions ListeningOptions::parse(const QStringList& lines)
{
    ListeningOptions options;
    OptionLines::readFields<Field>(
        lines, kFields,
        [&options](const Field& field, const QString& value) { readValue(options, field, value); });
    return options;
}

QStringList ListeningOptions::lines() const
{
    return OptionLines::fieldLines<Field>(
        kFields, [this](const Field& field) { return valueText(*this, field); });
}

ListeningOptions ListeningOptions::read(const QString& path, QString* error)
{
    const auto lines = OptionLines::readFile(path, error);
    return lines ? parse(*lines) : ListeningOptions{};
}

bool ListeningOptions::write(const QString& path, QString* error) const
{
    return writeTextLines(path, lines(), error);
}
