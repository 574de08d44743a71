// SPDX-License-Identifier: MIT
// platform: the modal message box of the model and texture loaders.
#pragma once

// shows a modal box with the text, the title and one OK button and waits for OK; the text also
// goes to standard error. Without a display that can show it, only standard error, at once.
void platformMessageBox(const char* text, const char* title);
