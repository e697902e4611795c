#include "platform/PathCharacters.h"

namespace platform {

const bool kPathsKeepEveryCharacter = false;

QString pathTextFor(char32_t /*c*/)
{
    return QStringLiteral("?");
}

QString restorePathCharacters(const QString& path)
{
    return path;
}

} // namespace platform
