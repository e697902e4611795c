#include "platform/FontFamilies.h"

namespace platform {

// Windows has both faces itself, but may list them under their English names (a system
// whose language is not Japanese); newer Japanese faces follow, then the IPA and Noto faces
// that Wine finds through fontconfig, where no Windows font is installed.
QStringList gothicFamilies()
{
    return {"MS PGothic", "Yu Gothic UI", "Meiryo UI", "Meiryo", "Yu Gothic", "MS UI Gothic", "MS Gothic",
            "IPAPGothic", "IPA Pゴシック", "Noto Sans CJK JP", "VL PGothic", "IPAGothic", "VL Gothic"};
}

QStringList minchoFamilies()
{
    return {"MS PMincho", "Yu Mincho", "MS Mincho", "IPAPMincho", "IPA P明朝", "Noto Serif CJK JP",
            "IPAMincho", "MS PGothic", "IPAPGothic"};
}

} // namespace platform
