#include "widgets/Dispatch.h"

#include "text/EditorError.h"
#include "text/Messages.h"
#include "codec/ShiftJis.h"

#include <exception>
#include <new>
#include <string>
#include <string_view>

namespace widgets {
namespace {

void show(Prompts& prompts, std::string_view message) noexcept
{
    try {
        prompts.errorBox(text::withFullStop(std::string(message)));
    } catch (...) {
        // Nothing is left to tell the user with; the event loop must still go on.
    }
}

} // namespace

void dispatch(Prompts& prompts, const std::function<void()>& handler) noexcept
{
    try {
        handler();
    } catch (const text::EditorError& error) {
        show(prompts, error.message());
    } catch (const std::bad_alloc&) {
        // what() would be English and say nothing to the user; what was done stays done.
        show(prompts, sjis::fromUtf8(u8"メモリが足りないため、処理を中止しました"));
    } catch (const std::exception& error) {
        show(prompts, error.what());
    } catch (...) {
        try {
            show(prompts, sjis::fromUtf8(u8"予期しないｴﾗｰが発生しました"));
        } catch (...) {
        }
    }
}

} // namespace widgets
