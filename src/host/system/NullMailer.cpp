#include "host/system/NullMailer.h"

void NullMailer::compose(const Message&, Finished finished)
{
    if (finished)
        finished(false, QStringLiteral("No mail program is set up on this desktop."));
}
