#include "platform/SkinImage.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSet>
#include <QThreadPool>
#include <condition_variable>
#include <mutex>

namespace SkinImage {

namespace {

QImage decode(const QString& path)
{
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull()) {
        // A picture saved under another format's name still shows.
        QImageReader guessing(path);
        image = guessing.read();
    }
    return image;
}

// What identifies the file a picture came from, so that a changed file is read again.
struct Stamp {
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QFileInfo& file)
{
    return {file.lastModified(), file.size()};
}

class Pictures {
public:
    static Pictures& instance()
    {
        static Pictures pictures;
        return pictures;
    }

    QImage read(const QString& path)
    {
        const QFileInfo file(path);
        if (!file.exists())
            return {};
        const Stamp stamp = stampOf(file);
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [&] { return !m_pending.contains(path); });
            const auto kept = m_kept.constFind(path);
            if (kept != m_kept.cend() && kept->stamp == stamp)
                return kept->image;
        }
        return keep(path, stamp, decode(path));
    }

    void preload(const QStringList& paths)
    {
        QStringList wanted;
        {
            const std::lock_guard lock(m_mutex);
            for (const QString& path : paths) {
                if (!m_kept.contains(path) && !m_pending.contains(path)) {
                    m_pending.insert(path);
                    wanted << path;
                }
            }
        }
        if (wanted.isEmpty())
            return;
        QThreadPool::globalInstance()->start([this, wanted] {
            for (const QString& path : wanted) {
                const QFileInfo file(path);
                const QImage image = file.exists() ? decode(path) : QImage();
                const std::lock_guard lock(m_mutex);
                if (!image.isNull())
                    m_kept.insert(path, {stampOf(file), image});
                m_pending.remove(path);
                m_ready.notify_all();
            }
        });
    }

private:
    QImage keep(const QString& path, const Stamp& stamp, const QImage& image)
    {
        if (!image.isNull()) {
            const std::lock_guard lock(m_mutex);
            m_kept.insert(path, {stamp, image});
        }
        return image;
    }

    struct Kept {
        Stamp stamp;
        QImage image;
    };
    std::mutex m_mutex;
    std::condition_variable m_ready;
    QHash<QString, Kept> m_kept;
    QSet<QString> m_pending;
};

} // namespace

QImage read(const QString& path)
{
    return Pictures::instance().read(path);
}

QPixmap pixmap(const QString& path)
{
    return QPixmap::fromImage(read(path));
}

void preload(const QStringList& paths)
{
    Pictures::instance().preload(paths);
}

std::optional<QCursor> pointer(const QString& path)
{
    // The fingertip of the pointer icon.
    constexpr int kHotX = 9;
    constexpr int kHotY = 1;
    const QPixmap icon = pixmap(path);
    if (icon.isNull())
        return std::nullopt;
    return QCursor(icon.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation), kHotX,
                   kHotY);
}

} // namespace SkinImage
