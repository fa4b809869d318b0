// The binding table: which handler answers which event of the main window.
#pragma once

class MainWindow;

// Connects the window's `created` event and the thirteen control events to their handlers.
void bindHandlers(MainWindow& window);
