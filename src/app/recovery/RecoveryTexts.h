#pragma once

// What the editor says about a work kept from a window that did not end normally.

#include "app/WindowTexts.h"

namespace app::texts {

// %s: when the work was last kept.
inline const Text kRecoveryQuestion(u8"前回終了しなかった作業が残っています（%s）。\n"
                                    u8"作業を元に戻しますか？\n"
                                    u8"（［いいえ］でも作業は別名で残ります）");
// %s: the folder the damaged work was kept in.
inline const Text kRecoveryDamaged(u8"残っていた作業は壊れているため読めません。\n"
                                   u8"手を付けずに %s に残し、空の表で始めます。");
inline const Text kRecoveryNewer(u8"残っていた作業は新しい版のエディターのもので読めません。\n"
                                 u8"手を付けずに %s に残し、空の表で始めます。");
// %s: the state folder.
inline const Text kRecoveryCannotWrite(u8"作業の控えを %s に書けません（ディスクが一杯か書込み禁止）。\n"
                                       u8"編集は続けられますが、異常終了すると作業は戻りません。控えは書けるまで試し続けます。");

} // namespace app::texts
