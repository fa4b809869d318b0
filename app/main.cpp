// Marlowen: composes SQL statements for SQLite from what the user types and picks in one window.
#include "app/bindings.h"
#include "app/shell.h"

int main(int argc, char** argv) {
  return runMarlowen(argc, argv, bindHandlers);
}
