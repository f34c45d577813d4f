#include "cli/Options.h"

#include "platform/AnsiString.h"

const char* const Usage =
    "usage: zuvconv [--from auto|sjis|jis|euc] [--to sjis|jis|euc] [--newline keep|crlf|lf|cr]\n"
    "               [-o OUTPUT] [INPUT]\n"
    "       zuvconv --guess INPUT...\n"
    "       zuvconv --help\n";

namespace {

KanjiCode ParseCode(const std::string& name, bool allowAuto) {
    if (allowAuto && AnsiUpperCase(name) == "AUTO")
        return KanjiCode::UNKNOWN;
    const KanjiCode code = BryKanjiFilter::NameToCode(name);
    if (code == KanjiCode::UNKNOWN)
        throw UsageError{"unknown kanji code '" + name + "'"};
    return code;
}

std::optional<NewlineType> ParseNewline(const std::string& name) {
    const std::string upper = AnsiUpperCase(name);
    if (upper == "KEEP")
        return std::nullopt;
    if (upper == "CRLF")
        return NewlineType::CR_LF;
    if (upper == "LF")
        return NewlineType::LF;
    if (upper == "CR")
        return NewlineType::CR;
    throw UsageError{"unknown newline type '" + name + "'"};
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

class ArgReader {
public:
    explicit ArgReader(const std::vector<std::string>& args) : args(args) {}
    bool Done() const { return next == args.size(); }
    const std::string& Next() { return args[next++]; }
    const std::string& ValueOf(const std::string& option) {
        if (Done())
            throw UsageError{"option '" + option + "' needs an argument"};
        return Next();
    }

private:
    const std::vector<std::string>& args;
    std::size_t next = 0;
};

} // namespace

Command ParseCommandLine(const std::vector<std::string>& args) {
    Command command;
    ConvertOptions& convert = command.convert;
    std::vector<std::string> inputs;
    bool converting = false; // a conversion option was given
    bool guessing = false;
    for (ArgReader reader(args); !reader.Done();) {
        const std::string& arg = reader.Next();
        if (arg == "--help") {
            command.kind = Command::Kind::Help;
            return command;
        }
        if (arg == "--guess") {
            guessing = true;
        } else if (arg == "--from") {
            convert.from = ParseCode(reader.ValueOf(arg), true);
            converting = true;
        } else if (arg == "--to") {
            convert.to = ParseCode(reader.ValueOf(arg), false);
            converting = true;
        } else if (arg == "--newline") {
            convert.newline = ParseNewline(reader.ValueOf(arg));
            converting = true;
        } else if (arg == "-o") {
            convert.output = reader.ValueOf(arg);
            converting = true;
        } else if (arg == "--") {
            while (!reader.Done())
                inputs.push_back(reader.Next());
        } else if (IsOption(arg)) {
            throw UsageError{"unknown option '" + arg + "'"};
        } else {
            inputs.push_back(arg);
        }
    }
    if (guessing) {
        if (converting)
            throw UsageError{"--guess takes no conversion options"};
        if (inputs.empty())
            throw UsageError{"--guess needs at least one INPUT"};
        command.kind = Command::Kind::Guess;
        command.guessInputs = std::move(inputs);
        return command;
    }
    if (inputs.size() > 1)
        throw UsageError{"only one INPUT can be converted at a time"};
    if (!inputs.empty())
        convert.input = inputs.front();
    return command;
}
