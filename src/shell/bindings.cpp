#include "shell/bindings.h"

#include "textops/block.h"
#include "textops/lists.h"
#include "tools/adder.h"
#include "tools/infotools.h"
#include "tools/phrases.h"
#include "view/taste.h"

namespace {

// The Ctrl commands of the tools, by the code controlCommand takes.
constexpr KeyCommand kToolCommands[] = {
    {27, listKeySearch, true},  // Ctrl+U-umlaut
    {'4', infoKeyA},
    {'5', infoKeyB},
    {'6', infoKeyC},
    {'B', blockKeyCopyOrBack},
    {'C', blockKeyCopy, true},
    {'I', infoKeyMarked, true},
    {'O', infoKeyProject, true},
    {'P', blockKeyMarkLine},
    {'T', listKeyStructure, true},
    {vk::kComma, abbrevKey},
    {vk::kMinus, adderShortcut},
};

}  // namespace

void toolsBind() {
    KeyMap map;
    map.commands = kToolCommands;
    map.commandCount = static_cast<int>(sizeof kToolCommands / sizeof kToolCommands[0]);
    map.lineMark = block_mark_line;
    map.charTaken = adderTakesKey;
    map.shiftChar = phraseKey;
    keyMapInstall(map);
    adderInstall();
}
