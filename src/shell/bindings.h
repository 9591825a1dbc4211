// What the shell binds at start-up so that the lower floors never name the
// tools above them: the keys of blocks, lists, the adder and the phrases
// (the dispatcher's key map) and the tools' refresh listeners.
#pragma once

// Binds them all; binding again changes nothing.
void toolsBind();
