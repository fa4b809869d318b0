// The program's look on top of the Fusion style: drop-down lists open below their box, and group boxes are
// filled white. Cheaper at start-up than style sheets, which re-polish every widget they reach.
#pragma once

// Makes the program's style the application's style; call once after the application object exists.
void useProgramStyle();
