// The properties dialog "Datei" (DB1302): a modeless box showing the document's
// name, directory, size and time, with the check boxes "Geaendert" and "CrLf"
// that act at once. Its logic is the portable half in document/docfile.h.
#pragma once

// Command 1302: opens the dialog, or brings the open one forward.
void propertiesDialogOpen();
