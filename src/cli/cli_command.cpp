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

// Words joined into lines of at most LineWidth characters; later lines indented by `indent`.
std::string Wrap(const std::vector<std::string>& words, std::size_t indent) {
    std::string text, line;
    for (const std::string& w : words) {
        if (!line.empty() && line.size() + 1 + w.size() > LineWidth) {
            text += line + "\n";
            line = std::string(indent, ' ');
        } else if (!line.empty()) {
            line += ' ';
        }
        line += w;
    }
    return text + line + "\n";
}

std::string Synopsis(const TCommand& command) {
    const std::string head = "Aufruf: zeigora-cli " + std::string(command.Name);
    std::vector<std::string> words{head};
    for (const TOption& o : command.Options)
        words.push_back(o.Required ? OptionText(o) : "[" + OptionText(o) + "]");
    if (!command.Arguments.empty()) words.emplace_back(command.Arguments);
    return Wrap(words, head.size() + 1);
}

// One option row of the help: the option, then its help text in a column.
std::string OptionRow(std::string_view left, std::string_view help, std::size_t column) {
    std::string row = "  " + std::string(left);
    row.resize(std::max(column, row.size() + 2), ' ');
    for (char c : help)
        row += c == '\n' ? "\n" + std::string(column, ' ') : std::string(1, c);
    return row + "\n";
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
    std::string text = Synopsis(command) + "\n" + std::string(command.Description);
    text += "\n" + OptionsHelp(command);
    return text + "\nRückgabewert: " + std::string(command.ExitStatus) + "\n";
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
