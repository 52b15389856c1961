#include <oks/framework/record_command.h>

// Switches the filter-150 mode off. The success line is traced whatever the service answers; its status is
// returned.
OKS_UNCHECKED_ACTION(unsetFilter150Mode, "OKS_unsetFilter150Mode", OKS_NO_DESTRUCTOR, unsetFilter150Mode);
