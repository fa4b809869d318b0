// The output box convention and the copy of its text to the clipboard.
//
// Every producer replaces the whole text of the output box `编辑框_输出` with setText; nothing is appended.
#pragma once

#include "ui_mainwindow.h"

// Copies the output box to the clipboard and confirms with a message; an empty box copies nothing, and a
// clipboard that did not take the text shows nothing.
void copyOutput(Ui::MainWindow& ui);
