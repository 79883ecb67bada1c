#include "app/cliargs.h"

#include <optional>
#include <utility>

#include "common/platform/filesystem.h"
#include "convert/officepool.h"

namespace slate {

namespace {

using Kind = ParsedCommandLine::Kind;

ParsedCommandLine usageError(const QString& message) {
    ParsedCommandLine parsed;
    parsed.kind = Kind::UsageError;
    parsed.error = message;
    return parsed;
}

// Splits "--name=value" into its two halves; other arguments come back whole.
std::pair<QString, std::optional<QString>> splitInlineValue(const QString& argument) {
    if (!argument.startsWith(QLatin1String("--")))
        return {argument, std::nullopt};
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq < 0)
        return {argument, std::nullopt};
    return {argument.left(eq), argument.mid(eq + 1)};
}

// A number of offices from 1 to kMaxOffices, or "auto".
std::optional<int> officeCount(const QString& text) {
    if (text == QLatin1String("auto"))
        return kAutoJobs;
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1 || count > kMaxOffices)
        return std::nullopt;
    return count;
}

}  // namespace

QStringList decodeArguments(int argc, char** argv, QStringList* undecodable) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        bool valid = true;
        arguments << decodeFileName(QByteArrayView(argv[i]), &valid);
        if (!valid && undecodable)
            *undecodable << arguments.last();
    }
    return arguments;
}

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    ParsedCommandLine parsed;
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString& command = arguments.first();
    if (command == QLatin1String("-h") || command == QLatin1String("--help") ||
        command == QLatin1String("help")) {
        parsed.kind = Kind::Help;
        return parsed;
    }
    if (command == QLatin1String("--version")) {
        parsed.kind = Kind::Version;
        return parsed;
    }
    if (command != QLatin1String("convert"))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(command));

    ConvertArguments& c = parsed.convert;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) ||
            argument == QLatin1String("-")) {
            c.paths << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        // "-j4" as make takes it.
        const auto split = argument.startsWith(QLatin1String("-j")) && argument.size() > 2
                               ? std::pair(QStringLiteral("-j"), std::optional(argument.mid(2)))
                               : splitInlineValue(argument);
        const QString& name = split.first;
        const std::optional<QString>& inlineValue = split.second;
        const auto value = [&]() -> std::optional<QString> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments.at(++i);
        };
        const auto needsValue = [&](const QString& option) {
            return usageError(QStringLiteral("option %1 needs a value").arg(option));
        };
        // The option's value as a whole number of at least `least`; the usage error otherwise.
        const auto numberInto = [&](int& into, int least,
                                    const QString& what) -> std::optional<ParsedCommandLine> {
            const auto v = value();
            if (!v)
                return needsValue(name);
            bool ok = false;
            const int number = v->toInt(&ok);
            if (!ok || number < least)
                return usageError(QStringLiteral("%1 needs %2, not \"%3\"").arg(name, what, *v));
            into = number;
            return std::nullopt;
        };
        if (name == QLatin1String("-h") || name == QLatin1String("--help")) {
            parsed.kind = Kind::Help;
            return parsed;
        } else if (name == QLatin1String("--version")) {
            parsed.kind = Kind::Version;
            return parsed;
        } else if (name == QLatin1String("-q") || name == QLatin1String("--quiet")) {
            c.quiet = true;
        } else if (name == QLatin1String("-v") || name == QLatin1String("--verbose")) {
            c.verbose = true;
        } else if (name == QLatin1String("--timings")) {
            c.timings = true;
        } else if (name == QLatin1String("-o") || name == QLatin1String("--output-dir")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return needsValue(name);
            c.outputDir = *v;
        } else if (name == QLatin1String("-e") || name == QLatin1String("--extension")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return needsValue(name);
            c.extension = *v;
        } else if (name == QLatin1String("--office")) {
            const auto v = value();
            if (!v || v->isEmpty())
                return needsValue(name);
            if (c.officeConnections.contains(*v))
                return usageError(QStringLiteral("the office \"%1\" is given twice").arg(*v));
            c.officeConnections << *v;
        } else if (name == QLatin1String("-j") || name == QLatin1String("--jobs")) {
            const auto v = value();
            if (!v)
                return needsValue(name);
            c.jobs = officeCount(*v);
            if (!c.jobs) {
                return usageError(QStringLiteral("--jobs needs a number of offices from 1 to %1, "
                                                 "or auto, not \"%2\"")
                                      .arg(kMaxOffices)
                                      .arg(*v));
            }
        } else if (name == QLatin1String("--restart-after")) {
            if (auto error =
                    numberInto(c.restartAfter, 0, QStringLiteral("a number of files (0: never)")))
                return *error;
        } else if (name == QLatin1String("--timeout")) {
            if (auto error = numberInto(c.timeoutSeconds, 1,
                                        QStringLiteral("a whole number of seconds above 0")))
                return *error;
        } else {
            return usageError(QStringLiteral("unknown option \"%1\"").arg(argument));
        }
    }
    if (c.paths.isEmpty())
        return usageError(QStringLiteral("no file or folder given"));
    if (c.jobs && !c.officeConnections.isEmpty()) {
        return usageError(
            QStringLiteral("--jobs starts offices, --office uses running ones: "
                           "give one of them"));
    }
    parsed.kind = Kind::Convert;
    return parsed;
}

QString commandLineHelp(const QString& programName) {
    return QStringLiteral(
               "Usage: %1 convert [OPTIONS] PATH...\n"
               "Converts presentations to PowerPoint 97 (.ppt) files through LibreOffice.\n"
               "A PATH that is a file is converted as it is; a PATH that is a folder adds every\n"
               "file of the chosen extension in it and in all its sub-folders. A file reached\n"
               "twice is converted once.\n"
               "\n"
               "Options:\n"
               "  -o, --output-dir DIR   save every result in DIR (it must exist); without it\n"
               "                         each result is saved beside its source\n"
               "  -e, --extension EXT    extension of the files a folder adds (default odp;\n"
               "                         * for every file)\n"
               "      --timeout SECONDS  give up on an office call, and on a started office's\n"
               "                         first answer, after SECONDS (default 300 and 60)\n"
               "  -j, --jobs N           convert on N offices at once, each with a private\n"
               "                         profile; auto (the default) starts one per core, as\n"
               "                         many as the free memory holds (about 250 MB each)\n"
               "      --restart-after N  restart each office after N files (default 200;\n"
               "                         0: never), so its memory use stays bounded\n"
               "      --office CONNECTION  use an office already listening there, e.g.\n"
               "                         \"socket,host=127.0.0.1,port=2002;urp;\"; given\n"
               "                         several times, the files are shared between them\n"
               "      --timings          print how long each file took and how much of it the\n"
               "                         office spent loading and saving (on standard error)\n"
               "  -q, --quiet            print nothing but the failures\n"
               "  -v, --verbose          print every failure in full, step by step, instead of\n"
               "                         one line per failed file\n"
               "  -h, --help             show this help\n"
               "      --version          show the version\n"
               "\n"
               "Examples:\n"
               "  %1 convert talk.odp\n"
               "      writes talk.ppt beside talk.odp\n"
               "  %1 convert -o ~/ppt ~/talks\n"
               "      converts every .odp under ~/talks into the folder ~/ppt\n"
               "  %1 convert -e '*' inbox\n"
               "      converts every file under inbox, whatever its extension\n"
               "  %1 convert -q *.odp || echo \"some failed\"\n"
               "      prints only the failures, one line each, for scripts\n"
               "  %1 convert -v broken.odp\n"
               "      shows each step that failed, to find out why\n"
               "\n"
               "Run without a command to open the window; files and folders named then\n"
               "are listed in it, as a drop of them would be.\n"
               "\n"
               "Progress and failures go to standard error; \"Done.\" and the summary to standard\n"
               "output. Exit status: 0 every file converted, 1 some file failed or some folder\n"
               "could not be read, 2 usage error or nothing to convert, 3 the office could not\n"
               "be reached.\n")
        .arg(programName);
}

}  // namespace slate
