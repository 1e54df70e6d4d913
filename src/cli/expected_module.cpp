#include "cli/expected_module.h"

#include "files/data_file.h"

namespace tunara::cli {

int loadExpected(const QString &path, CliStreams &io, compare::ImageBytes &bytes)
{
    const datafile::Loaded loaded = datafile::load(path);
    if (!loaded.ok()) {
        const QString why = loaded.outcome == datafile::Loaded::Outcome::Short
                                ? path + QStringLiteral(": ") + loaded.refusal
                                : loaded.refusal;
        return usageError(io, QStringLiteral("--expect needs a 264-byte data file: %1").arg(why));
    }
    bytes = loaded.data.image.EEPROMBuffer;
    return ExitOk;
}

void ExpectedModuleEvents::moduleContentsRead(const link::EEPROMBytes &before)
{
    if (m_expected)
        m_change = compare::moduleChange(*m_expected, before);
    m_inner.moduleContentsRead(before);
}

bool ExpectedModuleEvents::aboutToWrite()
{
    if (m_change.differs) {
        m_io.err << "tunara-cli: the module does not hold the expected image: " << m_change.text
                 << "\ntunara-cli: nothing was written\n";
        m_io.err.flush();
        return false;
    }
    return m_inner.aboutToWrite();
}

}  // namespace tunara::cli
