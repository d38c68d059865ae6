#include "ui/widgets/Say.h"

QString Say(const Text& text)
{
    return text.words();
}
