// The dialog "Info/Baukasten" (DB1601): the templates of the info tools and
// the tool paths of the section "Installation" in the fields 3000-3070;
// "&Speichern" (2500) stores them, "Standard" (2501) shows the standard values.
#pragma once

// Command 1601.
void info_dialog();
