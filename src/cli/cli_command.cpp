#include "cli/cli_command.h"

#include <algorithm>

#include "cli/cli_common.h"

namespace zeigora::cli {

namespace {

constexpr std::size_t LineWidth = 79;

bool IsHelp(std::string_view arg) {
    return arg == "-h" || arg == "--help";
}

// "-" alone is a plain argument (standard input); for some commands only "--..." are options.
bool LooksLikeOption(const TCommand& command, std::string_view arg) {
    if (command.OnlyLongOptions) return arg.starts_with("--");
    return arg.size() >= 2 && arg[0] == '-';
}

const TOption* FindOption(const TCommand& command, std::string_view name) {
    for (const TOption& o : command.Options)
        if (o.Name == name) return &o;
    return nullptr;
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string OptionText(const TOption& o) {
    return o.Value.empty() ? std::string(o.Name) : std::string(o.Name) + " " + std::string(o.Value);
}

// Characters on the terminal: UTF-8 continuation bytes take no column.
std::size_t Columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Words joined into lines of at most LineWidth columns; the first line begins with `start`,
// later ones with `indent` blanks.
std::string Wrap(const std::vector<std::string>& words, std::string start, std::size_t indent) {
    std::string text, line = std::move(start);
    bool lineHasWord = false;
    for (const std::string& w : words) {
        if (lineHasWord && Columns(line) + 1 + Columns(w) > LineWidth) {
            text += line + "\n";
            line = std::string(indent, ' ');
            lineHasWord = false;
        }
        line += (lineHasWord ? " " : "") + w;
        lineHasWord = true;
    }
    return text + line + "\n";
}

std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c != ' ' && c != '\n') {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// Paragraphs are separated by an empty line; one that begins with blanks keeps them as its
// indentation.
std::string Fill(std::string_view text) {
    std::string filled;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find("\n\n", begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view paragraph = text.substr(begin, end - begin);
        const std::size_t indent = paragraph.find_first_not_of(' ');
        if (indent != std::string_view::npos) {
            if (!filled.empty()) filled += "\n";
            filled += Wrap(Words(paragraph), std::string(indent, ' '), indent);
        }
        begin = end + 2;
    }
    return filled;
}

std::string Synopsis(const TCommand& command) {
    const std::string head = "Aufruf: zeigora-cli " + std::string(command.Name) + " ";
    std::vector<std::string> words;
    for (const TOption& o : command.Options)
        words.push_back(o.Required ? OptionText(o) : "[" + OptionText(o) + "]");
    if (!command.Arguments.empty()) words.emplace_back(command.Arguments);
    return Wrap(words, head, head.size());
}

// One option row of the help: the option, then its help text in a column.
std::string OptionRow(std::string_view left, std::string_view help, std::size_t column) {
    std::string start = "  " + std::string(left);
    start.resize(std::max(column, start.size() + 2), ' ');
    return Wrap(Words(help), start, column);
}

std::string OptionsHelp(const TCommand& command) {
    std::size_t width = std::string_view("-h, --help").size();
    bool takesValues = false;
    for (const TOption& o : command.Options) {
        width = std::max(width, OptionText(o).size());
        takesValues = takesValues || !o.Value.empty();
    }
    const std::size_t column = width + 4;
    std::string text = "Optionen:\n";
    for (const TOption& o : command.Options)
        text += OptionRow(OptionText(o), o.Help, column);
    text += OptionRow("--", "alle weiteren Argumente sind keine Optionen", column);
    text += OptionRow("-h, --help", "diese Hilfe", column);
    if (takesValues)
        text +=
            "Ein Wert folgt seiner Option nach einem Leerzeichen oder \"=\" (--name WERT,\n"
            "--name=WERT).\n";
    if (command.ReadsFiles) text += "Die Datei \"-\" ist die Standardeingabe.\n";
    return text;
}

std::string CountProblem(const TCommand& command, std::size_t given) {
    if (given < static_cast<std::size_t>(command.MinArguments))
        return "Es fehlt ein Argument: " + std::string(command.Arguments) + ".";
    return "Zu viele Argumente (" + IntText(static_cast<long long>(given)) +
           "); erwartet: " + std::string(command.Arguments) + ".";
}

}  // namespace

bool TCommandLine::Has(std::string_view option) const {
    return Values_.find(option) != Values_.end();
}

std::string TCommandLine::Value(std::string_view option, std::string_view fallback) const {
    const auto it = Values_.find(option);
    return it == Values_.end() ? std::string(fallback) : it->second;
}

int TCommandLine::Fail(std::string_view message, int exitCode) const {
    Err("zeigora-cli " + std::string(Command_.Name) + ": " + std::string(message) + "\n");
    return exitCode;
}

int TCommandLine::Refuse(std::string_view problem) const {
    Fail(problem, ExitUsage);
    Err(Synopsis(Command_));
    Err("Hilfe: zeigora-cli " + std::string(Command_.Name) + " --help\n");
    return ExitUsage;
}

std::string CommandHelp(const TCommand& command) {
    return Synopsis(command) + "\n" + Fill(command.Description) + "\n" + OptionsHelp(command) +
           "\n" + Fill("Rückgabewert: " + std::string(command.ExitStatus));
}

int RunCommand(const TCommand& command, const TArgs& args) {
    for (const std::string& a : args) {
        if (a == "--") break;
        if (IsHelp(a)) {
            Out(CommandHelp(command));
            return ExitOk;
        }
    }
    TCommandLine line(command);
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || !LooksLikeOption(command, a)) {
            line.Arguments_.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value", or a one-letter option with its value attached: "-oVALUE".
        const std::size_t split = a.starts_with("--") ? a.find('=') : 2;
        const std::string name = a.substr(0, split);
        const TOption* option = FindOption(command, name);
        if (option == nullptr) return line.Refuse("Unbekannte Option " + Quoted(name) + ".");
        const bool attached = split < a.size();
        if (option->Value.empty() && attached)
            return line.Refuse("Die Option " + Quoted(name) + " nimmt keinen Wert.");
        std::string value;
        if (attached) {
            value = a.substr(split + (a.starts_with("--") ? 1 : 0));
        } else if (!option->Value.empty()) {
            if (i + 1 >= args.size())
                return line.Refuse("Die Option " + Quoted(name) + " braucht einen Wert (" +
                                   OptionText(*option) + ").");
            value = args[++i];
        }
        line.Values_[name] = value;
    }
    for (const TOption& o : command.Options)
        if (o.Required && !line.Has(o.Name))
            return line.Refuse("Die Option " + Quoted(OptionText(o)) + " fehlt.");
    const std::size_t n = line.Arguments_.size();
    if (n < static_cast<std::size_t>(command.MinArguments) ||
        (command.MaxArguments >= 0 && n > static_cast<std::size_t>(command.MaxArguments)))
        return line.Refuse(CountProblem(command, n));
    return command.Run(line);
}

}  // namespace zeigora::cli
