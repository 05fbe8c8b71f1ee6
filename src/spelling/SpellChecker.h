#pragma once

#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <memory>

class Hunspell;

// One Hunspell dictionary. Hunspell is not thread-safe: each checker is used on one thread only.
class SpellChecker {
public:
    ~SpellChecker();

    // Reads the dictionary's files; null when they cannot be read, with the reason in `error`.
    static std::unique_ptr<SpellChecker> load(const QString& affixPath, const QString& wordsPath,
                                              QString* error = nullptr);

    bool isCorrect(const QString& word);
    // The dictionary's best guesses, best first, at most `count`.
    QStringList suggestions(const QString& word, int count);
    // Accepted from now on by this checker, and offered among its suggestions.
    void add(const QString& word);

private:
    SpellChecker() = default;
    std::string encoded(const QString& word);

    std::unique_ptr<Hunspell> m_hunspell;
    QStringEncoder m_encoder;
    QStringDecoder m_decoder;
};
