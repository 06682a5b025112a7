#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "core/encoding.h"

namespace tova {
namespace {

// The answer of Escape and of closing the box: the one that changes nothing.
TMessageResult EscapeResult(TMessageButtons buttons) {
    switch (buttons) {
        case TMessageButtons::Ok:
            return TMessageResult::Ok;
        case TMessageButtons::OkCancel:
        case TMessageButtons::YesNoCancel:
        case TMessageButtons::YesNoToAll:
            return TMessageResult::Cancel;
        case TMessageButtons::YesNo:
            return TMessageResult::No;
    }
    return TMessageResult::Cancel;
}

}  // namespace

TMessageResult TSdlMessageBox::Show(std::string_view caption, std::string_view text,
                                    TMessageButtons buttons) {
    // Buttons in reading order; the first is the one Return takes.
    struct TButton {
        TMessageResult Result;
        const char* Label;
    };
    std::vector<TButton> list;
    switch (buttons) {
        case TMessageButtons::Ok:
            list = {{TMessageResult::Ok, "OK"}};
            break;
        case TMessageButtons::OkCancel:
            list = {{TMessageResult::Ok, "OK"}, {TMessageResult::Cancel, "Cancel"}};
            break;
        case TMessageButtons::YesNo:
            list = {{TMessageResult::Yes, "Yes"}, {TMessageResult::No, "No"}};
            break;
        case TMessageButtons::YesNoCancel:
            list = {
                {TMessageResult::Yes, "Yes"}, {TMessageResult::No, "No"}, {TMessageResult::Cancel, "Cancel"}};
            break;
        case TMessageButtons::YesNoToAll:
            list = {{TMessageResult::Yes, "Yes"},
                    {TMessageResult::No, "No"},
                    {TMessageResult::Cancel, "Cancel"},
                    {TMessageResult::NoToAll, "No to All"},
                    {TMessageResult::YesToAll, "Yes to All"}};
            break;
    }
    std::vector<SDL_MessageBoxButtonData> data;
    for (size_t i = 0; i < list.size(); ++i) {
        Uint32 flags = 0;
        if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (list[i].Result == EscapeResult(buttons)) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        data.push_back({flags, static_cast<int>(i), list[i].Label});
    }
    const std::string title = Cp932ToUtf8(caption);
    const std::string message = Cp932ToUtf8(text);
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.window = parent_;
    box.title = title.c_str();
    box.message = message.c_str();
    box.numbuttons = static_cast<int>(data.size());
    box.buttons = data.data();
    int chosen = -1;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) return fallback_.Show(caption, text, buttons);
    // Closing the box without a button is the Escape answer.
    if (chosen < 0 || static_cast<size_t>(chosen) >= list.size()) return EscapeResult(buttons);
    return list[static_cast<size_t>(chosen)].Result;
}

}  // namespace tova
