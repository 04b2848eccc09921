// The command line's switches, gate and modes.
#include "app/command_line.h"

#include <windows.h>

namespace {

bool ContainsAny(const char* text, const char* characters)
{
    for (const char* p = text; *p; ++p) {
        for (const char* c = characters; *c; ++c) {
            if (*p == *c)
                return true;
        }
    }
    return false;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The legacy gate, on what is left of the line once the switches are taken out.
void ReadGate(const char* arguments, CommandLine& command)
{
    if (!ContainsAny(arguments, "rRxX") && lstrlenA(arguments) != 3)
        return;
    const char* line = arguments[0] == '/' ? arguments + 1 : arguments;
    if (*line == 'x') {
        command.mode = RunMode::UninstallWorker;
        command.workingPath = line[1] != '\0' ? line + 2 : line + 1;
        return;
    }
    command.askFirst = ContainsAny(arguments, "rR");
    command.mode = *line == 'r' || *line == 'R' ? RunMode::UninstallRequest : RunMode::Install;
}

// True when word (length characters) is name, ignoring case.
bool IsWord(const char* word, int length, const char* name)
{
    if (lstrlenA(name) != length)
        return false;
    for (int i = 0; i < length; ++i) {
        char c = word[i];
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
        if (c != name[i])
            return false;
    }
    return true;
}

// The value of a "/name=value" word into out, without its quotes; false when it is empty or
// does not fit (a cut folder would name another folder).
bool TakeValue(const char* value, int length, char (&out)[kPathCapacity])
{
    int used = 0;
    for (int i = 0; i < length; ++i) {
        if (value[i] == '"')
            continue;
        if (used + 1 >= static_cast<int>(kPathCapacity))
            return false;
        out[used++] = value[i];
    }
    out[used] = '\0';
    return used > 0;
}

enum class Word { NotASwitch, Taken, BadValue };

// Takes one word that is a switch into command.
Word TakeSwitch(const char* word, int length, CommandLine& command)
{
    if (length < 2 || word[0] != '/')
        return Word::NotASwitch;
    const char* name = word + 1;
    int nameLength = length - 1;
    const char* equals = nullptr;
    for (int i = 0; i < nameLength; ++i) {
        if (name[i] == '=') {
            equals = name + i;
            break;
        }
    }
    if (equals != nullptr) {
        int keyLength = static_cast<int>(equals - name);
        const char* value = equals + 1;
        int valueLength = nameLength - keyLength - 1;
        char(*target)[kPathCapacity] = IsWord(name, keyLength, "dir")    ? &command.folder
                                       : IsWord(name, keyLength, "menu") ? &command.menu
                                       : IsWord(name, keyLength, "log")  ? &command.logFile
                                                                         : nullptr;
        if (target == nullptr)
            return Word::NotASwitch;
        return TakeValue(value, valueLength, *target) ? Word::Taken : Word::BadValue;
    }
    if (IsWord(name, nameLength, "quiet"))
        command.attendance = Attendance::Quiet;
    else if (IsWord(name, nameLength, "passive") && command.attendance != Attendance::Quiet)
        command.attendance = Attendance::Passive;
    else if (IsWord(name, nameLength, "nomenu"))
        command.noMenu = true;
    else if (IsWord(name, nameLength, "desktop"))
        command.desktop = true;
    else if (IsWord(name, nameLength, "?") || IsWord(name, nameLength, "help"))
        command.mode = RunMode::Help;
    else if (!IsWord(name, nameLength, "passive"))
        return Word::NotASwitch;
    return Word::Taken;
}

void NotUnderstood(CommandLine& command, const char* word, int length)
{
    command.mode = RunMode::NotUnderstood;
    int used = length < static_cast<int>(kSwitchTextCapacity) - 1 ? length : static_cast<int>(kSwitchTextCapacity) - 1;
    CopyMemory(command.notUnderstood, word, used);
    command.notUnderstood[used] = '\0';
}

}  // namespace

CommandLine ParseCommandLine(const char* arguments)
{
    CommandLine command = {};
    command.mode = RunMode::Nothing;
    command.attendance = Attendance::Person;

    // The words that are not switches, as the gate will read them; the worker's "x <path>" is
    // taken whole, blanks and all, from its first word to the end.
    char rest[kPathCapacity * 2] = "";
    const char* workerPart = nullptr;
    const char* firstOther = nullptr;
    int firstOtherLength = 0;
    int otherWords = 0;
    bool anySwitch = false;
    bool badValue = false;
    const char* p = arguments;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (*p == '\0')
            break;
        const char* word = p;
        bool quoted = false;
        while (*p != '\0' && (quoted || !IsBlank(*p))) {
            if (*p == '"')
                quoted = !quoted;
            ++p;
        }
        int length = static_cast<int>(p - word);
        Word kind = TakeSwitch(word, length, command);
        if (kind != Word::NotASwitch) {
            anySwitch = true;
            badValue = badValue || kind == Word::BadValue;
            if (kind == Word::BadValue && firstOther == nullptr) {
                firstOther = word;
                firstOtherLength = length;
            }
            continue;
        }
        if (otherWords == 0 && (word[0] == 'x' || (word[0] == '/' && word[1] == 'x'))) {
            workerPart = word;
            break;
        }
        if (firstOther == nullptr) {
            firstOther = word;
            firstOtherLength = length;
        }
        ++otherWords;
        if (lstrlenA(rest) + length + 2 > static_cast<int>(sizeof rest)) {
            badValue = true;
            break;
        }
        int end = lstrlenA(rest);
        if (end > 0)
            rest[end++] = ' ';
        CopyMemory(rest + end, word, length);
        rest[end + length] = '\0';
    }

    if (!anySwitch) {
        ReadGate(arguments, command);
        return command;
    }
    if (command.mode == RunMode::Help)
        return command;
    if (badValue) {
        NotUnderstood(command, firstOther, firstOtherLength);
        return command;
    }
    if (workerPart != nullptr) {
        ReadGate(workerPart, command);
        return command;
    }
    if (command.attendance == Attendance::Person) {
        ReadGate(rest, command);
        return command;
    }
    // Unattended: nothing but the uninstall request may be left.
    if (rest[0] == '\0') {
        command.mode = RunMode::Install;
    } else if (IsWord(rest, lstrlenA(rest), "/r") || IsWord(rest, lstrlenA(rest), "r")) {
        command.mode = RunMode::UninstallRequest;
    } else {
        NotUnderstood(command, firstOther, firstOtherLength);
    }
    return command;
}

namespace {

// True when line begins with name (without regard to case) followed by a blank or its end.
bool BeginsWithName(const char* line, const char* name)
{
    int length = lstrlenA(name);
    if (length == 0 || lstrlenA(line) < length ||
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, line, length, name, length) != CSTR_EQUAL)
        return false;
    return line[length] == '\0' || line[length] == ' ' || line[length] == '\t';
}

}  // namespace

const char* ArgumentsOf(const char* commandLine, const char* programPath)
{
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else if (BeginsWithName(p, programPath)) {
        p += lstrlenA(programPath);
    } else if (BeginsWithName(p, FileNamePart(programPath))) {
        p += lstrlenA(FileNamePart(programPath));
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}
