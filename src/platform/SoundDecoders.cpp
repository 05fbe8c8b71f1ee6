#include "platform/SoundDecoders.h"

#include "platform/ModuleFile.h"

SoundDecoders::SoundDecoders(const QStringList& folders, const QString& fileName,
                             SoundModule::Factory linked)
    : m_folders(folders), m_fileName(fileName), m_factory(linked), m_tried(linked != nullptr)
{
}

std::unique_ptr<SoundDecoder> SoundDecoders::make(QString* error)
{
    std::lock_guard lock(m_mutex);
    if (!m_tried) {
        m_tried = true;
        const QString path = ModuleFile::find(m_folders, m_fileName);
        if (path.isEmpty())
            m_loadError = ModuleFile::notFoundReason(m_folders, m_fileName);
        else
            m_factory = reinterpret_cast<SoundModule::Factory>(
                ModuleFile::loadFactory(m_library, path, SoundModule::kFactoryName, &m_loadError));
    }
    if (!m_factory) {
        if (error)
            *error = m_loadError;
        return nullptr;
    }
    return std::unique_ptr<SoundDecoder>(m_factory());
}
