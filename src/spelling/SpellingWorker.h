#pragma once

#include <QObject>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Spelling's own thread: it loads the dictionaries, checks words and finds suggestions, so that
// neither a dictionary's load nor a long transcript's words ever hold up the typing. Requests are
// taken in order, the urgent ones (what is on screen, suggestions) before the rest; the answers
// come as signals, on the thread that made the worker.
class SpellingWorker : public QObject {
    Q_OBJECT
public:
    explicit SpellingWorker(QObject* parent = nullptr);
    ~SpellingWorker() override;

    // Loads the dictionary once; loaded() tells how it went.
    void load(const QString& code, const QString& affixPath, const QString& wordsPath);
    // The paragraphs' words as WordScanner finds them, each word judged once per dictionary:
    // checked() brings those not judged before.
    void check(const QString& code, const QStringList& paragraphs, bool urgent);
    void suggest(const QString& code, const QString& word, int count);
    // The word is accepted by every dictionary from now on, also among the suggestions.
    void add(const QString& word);

Q_SIGNALS:
    void loaded(const QString& code, bool ok, const QString& error);
    // Words judged for the first time; `misspelt` and `correct` are in their dictionary form.
    // `urgent` as asked.
    void checked(const QString& code, const QStringList& misspelt, const QStringList& correct,
                 bool urgent);
    void suggested(const QString& code, const QString& word, const QStringList& suggestions);

private:
    using Job = std::function<void()>;
    void post(Job job, bool urgent);
    void run();

    struct Dictionaries;
    std::unique_ptr<Dictionaries> m_dictionaries; // the worker thread's only
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_urgent;
    std::deque<Job> m_background;
    bool m_stopping = false;
    std::thread m_thread;
};
