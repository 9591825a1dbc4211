// The key dispatcher: every key of the text window becomes an editing command.
#pragma once

// A key went down: virtual key vk with the modifier states at the time of the message.
void keyDown(int vk, bool shift, bool ctrl, bool alt);
// A character arrived (WM_CHAR) with the modifier states at the time of the message.
void keyChar(int ch, bool shift, bool ctrl, bool alt);
