#pragma once

#include "platform/SoundDecoder.h"

#include <QLibrary>
#include <QStringList>
#include <memory>
#include <mutex>

// Makes sound decoders from the sound module, which the first call loads; safe to call from any
// thread. Given the factory of decoder code linked into the program, it loads no module.
class SoundDecoders {
public:
    SoundDecoders(const QStringList& folders, const QString& fileName,
                  SoundModule::Factory linked = nullptr);

    // A closed decoder; null with the reason in `error` when the module cannot be loaded.
    std::unique_ptr<SoundDecoder> make(QString* error);

private:
    QStringList m_folders;
    QString m_fileName;
    std::mutex m_mutex;
    SoundModule::Factory m_factory;
    QString m_loadError;
    bool m_tried = false;
    QLibrary m_library;
};
