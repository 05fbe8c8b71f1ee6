#pragma once

#include "core/CommandTargets.h"
#include "pedal/PedalOptions.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <optional>

// What the pedals act on.
using PedalTargets = CommandTargets;

// Turns pedals going down and coming up into the player's, the bookmarks' and the editor's
// commands, as the options say. A skip repeats while its pedal is held, like a rewind.
class PedalController : public QObject {
    Q_OBJECT
public:
    static constexpr int kRepeatMs = 500;

    explicit PedalController(QObject* parent = nullptr);

    void setTargets(const PedalTargets& targets) { m_targets = targets; }
    void setEditor(EditorCommands* editor) { m_targets.editor = editor; }
    // A pedal held now keeps the action it went down with until it comes up.
    void setOptions(const PedalOptions& options) { m_options = options; }
    const PedalOptions& options() const { return m_options; }

    // The pedals down now, as a report gives them: each that went down or came up acts.
    void setDown(PedalSet down);
    // Every pedal up, as when the pedal is unplugged: nothing keeps playing for a lost pedal.
    void releaseAll() { setDown({}); }
    PedalSet down() const { return m_down; }

    // The repeat timer's handler for a skip held down.
    void repeat(Pedal pedal);
    bool isRepeating(Pedal pedal) const { return m_repeat[size_t(pedal)].isActive(); }

private:
    void press(Pedal pedal);
    void release(Pedal pedal);
    void run(PedalAction action);
    bool hasMedia() const;

    PedalTargets m_targets;
    PedalOptions m_options;
    PedalSet m_down;
    std::array<std::optional<PedalAction>, kPedalCount> m_held{};
    std::array<QTimer, kPedalCount> m_repeat;
};
