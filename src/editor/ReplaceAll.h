#pragma once

#include <QString>

class RichTextBox;

// Replaces every occurrence of `find` in the text area's document by `replacement`, ignoring case
// and word bounds. Only the text present before the call is searched: what is put in is never
// searched again, so a replacement that contains `find` is fine. Each replacement takes the
// formatting of the first character it replaces. The whole run is one edit block: one undo step,
// one relayout.
// Returns how many were replaced (0 for an empty `find`), or -1 when the text area refuses
// changes, with the reason in `error`.
[[nodiscard]] int replaceAll(RichTextBox& text, const QString& find, const QString& replacement,
                             QString* error = nullptr);
