#include "spelling/SpellingWorker.h"

#include "spelling/SpellChecker.h"
#include "spelling/WordScanner.h"

#include <QHash>
#include <QSet>
#include <map>

struct SpellingWorker::Dictionaries {
    struct Entry {
        std::unique_ptr<SpellChecker> checker;
        QSet<QString> judged;
    };
    std::map<QString, Entry> byCode;
    QStringList added;

    Entry* find(const QString& code)
    {
        const auto found = byCode.find(code);
        return found == byCode.end() || !found->second.checker ? nullptr : &found->second;
    }
};

SpellingWorker::SpellingWorker(QObject* parent)
    : QObject(parent), m_dictionaries(std::make_unique<Dictionaries>())
{
    m_thread = std::thread([this] { run(); });
}

SpellingWorker::~SpellingWorker()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SpellingWorker::post(Job job, bool urgent)
{
    {
        const std::lock_guard lock(m_mutex);
        (urgent ? m_urgent : m_background).push_back(std::move(job));
    }
    m_wake.notify_one();
}

void SpellingWorker::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(
                lock, [this] { return m_stopping || !m_urgent.empty() || !m_background.empty(); });
            if (m_stopping)
                return;
            auto& queue = m_urgent.empty() ? m_background : m_urgent;
            job = std::move(queue.front());
            queue.pop_front();
        }
        job();
    }
}

void SpellingWorker::load(const QString& code, const QString& affixPath, const QString& wordsPath)
{
    post(
        [this, code, affixPath, wordsPath] {
            if (m_dictionaries->find(code)) {
                Q_EMIT loaded(code, true, QString());
                return;
            }
            QString error;
            auto checker = SpellChecker::load(affixPath, wordsPath, &error);
            if (checker) {
                for (const QString& word : m_dictionaries->added)
                    checker->add(word);
                m_dictionaries->byCode[code].checker = std::move(checker);
            }
            Q_EMIT loaded(code, m_dictionaries->find(code) != nullptr, error);
        },
        true);
}

void SpellingWorker::check(const QString& code, const QStringList& paragraphs, bool urgent)
{
    post(
        [this, code, paragraphs, urgent] {
            Dictionaries::Entry* entry = m_dictionaries->find(code);
            if (!entry)
                return;
            QStringList misspelt;
            QStringList correct;
            for (const QString& paragraph : paragraphs) {
                for (const WordScanner::Word& at : WordScanner::words(paragraph)) {
                    const QString word = WordScanner::dictionaryForm(
                        QStringView(paragraph).mid(at.start, at.length));
                    if (entry->judged.contains(word))
                        continue;
                    entry->judged.insert(word);
                    (entry->checker->isCorrect(word) ? correct : misspelt) << word;
                }
            }
            Q_EMIT checked(code, misspelt, correct, urgent);
        },
        urgent);
}

void SpellingWorker::suggest(const QString& code, const QString& word, int count)
{
    post(
        [this, code, word, count] {
            Dictionaries::Entry* entry = m_dictionaries->find(code);
            Q_EMIT suggested(code, word,
                             entry ? entry->checker->suggestions(word, count) : QStringList());
        },
        true);
}

void SpellingWorker::add(const QString& word)
{
    post(
        [this, word] {
            m_dictionaries->added << word;
            for (auto& [code, entry] : m_dictionaries->byCode) {
                if (entry.checker)
                    entry.checker->add(word);
            }
        },
        true);
}
