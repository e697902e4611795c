#include "platform/FontFamilies.h"

namespace platform {

// The proportional IPA faces first, then other Japanese families Debian ships.
QStringList gothicFamilies()
{
    return {"IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP", "VL PGothic", "IPAGothic", "VL Gothic",
            "TakaoPGothic"};
}

QStringList minchoFamilies()
{
    return {"IPAPMincho", "IPA P明朝", "Noto Serif CJK JP", "IPAMincho", "TakaoPMincho", "IPAPGothic"};
}

} // namespace platform
