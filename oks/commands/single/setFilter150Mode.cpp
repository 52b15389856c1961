#include <oks/framework/record_command.h>

// Switches the filter-150 mode on. The success line is traced whatever the service answers; its status is
// returned.
OKS_UNCHECKED_ACTION(setFilter150Mode, "OKS_setFilter150Mode", OKS_NO_DESTRUCTOR, setFilter150Mode);
