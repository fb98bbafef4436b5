#include "MessageText.h"

std::string withArguments(std::string text, std::initializer_list<std::string> arguments)
{
    std::size_t at = 0;
    for (const std::string& argument : arguments) {
        at = text.find("%s", at);
        if (at == std::string::npos)
            break;
        text.replace(at, 2, argument);
        at += argument.size();
    }
    return text;
}
