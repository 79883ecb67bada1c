// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#include "cli/cliargs.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QRegularExpression>

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

ParsedCommandLine ofKind(Kind kind) {
    ParsedCommandLine parsed;
    parsed.kind = kind;
    return parsed;
}

// Every option of the convert command, declared once: the parser reads them and --help lists
// them from here.
struct ConvertOptions {
    QCommandLineOption outputDir{
        {QStringLiteral("o"), QStringLiteral("output-dir")},
        QStringLiteral("Save every result in DIR (it must exist); without it each result is "
                       "saved beside its source."),
        QStringLiteral("DIR")};
    QCommandLineOption extension{
        {QStringLiteral("e"), QStringLiteral("extension")},
        QStringLiteral("Extension of the files a folder adds (default odp; * for every file)."),
        QStringLiteral("EXT")};
    QCommandLineOption timeout{
        QStringLiteral("timeout"),
        QStringLiteral("Give up on an office call, and on a started office's "
                       "first answer, after SECONDS (default 300 and 60)."),
        QStringLiteral("SECONDS")};
    QCommandLineOption jobs{
        {QStringLiteral("j"), QStringLiteral("jobs")},
        QStringLiteral("Convert on N offices at once, each with a private profile; auto (the "
                       "default) starts one per core, as many as the free memory holds (about "
                       "250 MB each)."),
        QStringLiteral("N")};
    QCommandLineOption restartAfter{
        QStringLiteral("restart-after"),
        QStringLiteral("Restart each office after N files (default 200; 0: never), so its "
                       "memory use stays bounded."),
        QStringLiteral("N")};
    QCommandLineOption office{
        QStringLiteral("office"),
        QStringLiteral("Use an office already listening there, e.g. "
                       "\"socket,host=127.0.0.1,port=2002;urp;\"; given several times, the "
                       "files are shared between them."),
        QStringLiteral("CONNECTION")};
    QCommandLineOption shard{
        QStringLiteral("shard"),
        QStringLiteral("Convert only part K of N (0 <= K < N): the files are dealt out by result "
                       "name, so N tasks given 0/N to N-1/N convert every file once between "
                       "them."),
        QStringLiteral("K/N")};
    QCommandLineOption update{
        QStringLiteral("update"),
        QStringLiteral("Convert a file only when its result is missing, is not a whole "
                       "PowerPoint 97 file, or is older than the file; a killed run started "
                       "again with it converts only the rest.")};
    QCommandLineOption report{
        QStringLiteral("report"),
        QStringLiteral("Append one JSON line per file to FILE (- for standard output, which "
                       "then carries nothing else): source, target, status (converted, failed, "
                       "up-to-date, skipped), cause, seconds, host."),
        QStringLiteral("FILE")};
    QCommandLineOption timings{QStringLiteral("timings"),
                               QStringLiteral("Print how long each file took and how much of it "
                                              "the office spent loading and saving (on "
                                              "standard error).")};
    QCommandLineOption quiet{{QStringLiteral("q"), QStringLiteral("quiet")},
                             QStringLiteral("Print nothing but the failures.")};
    QCommandLineOption verbose{{QStringLiteral("v"), QStringLiteral("verbose")},
                               QStringLiteral("Print every failure in full, step by step, "
                                              "instead of one line per failed file.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};

    void addTo(QCommandLineParser& parser) const {
        parser.addOptions({outputDir, extension, timeout, jobs, restartAfter, office, shard, update,
                           report, timings, quiet, verbose, help, version});
        parser.addPositionalArgument(
            QStringLiteral("PATH"),
            QStringLiteral("A file to convert, or a folder whose files of the extension, in it "
                           "and in all its sub-folders, are converted."),
            QStringLiteral("PATH..."));
    }
};

// The parser's own complaint in the command line's words.
QString usageMessage(const QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("unknown option \"%1\"")
            .arg((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.$"));
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.$"));
    const QString text = parser.errorText();
    if (const auto m = missing.match(text); m.hasMatch())
        return QStringLiteral("option %1 needs a value").arg(m.captured(1));
    if (const auto m = unexpected.match(text); m.hasMatch())
        return QStringLiteral("option %1 takes no value").arg(m.captured(1));
    Q_UNUSED(arguments);
    return text;
}

// The option as the user wrote it, for messages: its long name.
QString spelled(const QCommandLineOption& option) {
    return QStringLiteral("--") + option.names().last();
}

// A whole number of at least `least`, or the usage error naming `what` it must be.
std::optional<QString> numberOf(const QCommandLineParser& parser, const QCommandLineOption& option,
                                int least, const QString& what, int& into) {
    if (!parser.isSet(option))
        return std::nullopt;
    const QString v = parser.value(option);
    bool ok = false;
    const int number = v.toInt(&ok);
    if (!ok || number < least)
        return QStringLiteral("%1 needs %2, not \"%3\"").arg(spelled(option), what, v);
    into = number;
    return std::nullopt;
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

// The options with a text value; an empty one counts as missing.
std::optional<QString> takeTexts(const QCommandLineParser& parser, const ConvertOptions& o,
                                 ConvertArguments& c) {
    for (const auto& [option, into] :
         {std::pair{&o.outputDir, &c.outputDir}, std::pair{&o.extension, &c.extension},
          std::pair{&o.report, &c.reportPath}}) {
        if (!parser.isSet(*option))
            continue;
        *into = parser.value(*option);
        if (into->isEmpty())
            return QStringLiteral("option %1 needs a value").arg(spelled(*option));
    }
    for (const QString& connection : parser.values(o.office)) {
        if (connection.isEmpty())
            return QStringLiteral("option --office needs a value");
        if (c.officeConnections.contains(connection))
            return QStringLiteral("the office \"%1\" is given twice").arg(connection);
        c.officeConnections << connection;
    }
    return std::nullopt;
}

std::optional<QString> takeNumbers(const QCommandLineParser& parser, const ConvertOptions& o,
                                   ConvertArguments& c) {
    if (parser.isSet(o.jobs)) {
        c.jobs = officeCount(parser.value(o.jobs));
        if (!c.jobs) {
            return QStringLiteral(
                       "--jobs needs a number of offices from 1 to %1, or auto, not "
                       "\"%2\"")
                .arg(kMaxOffices)
                .arg(parser.value(o.jobs));
        }
    }
    if (parser.isSet(o.shard)) {
        QString why;
        c.shard = parseShard(parser.value(o.shard), &why);
        if (!c.shard)
            return why;
    }
    if (auto error = numberOf(parser, o.restartAfter, 0,
                              QStringLiteral("a number of files (0: never)"), c.restartAfter))
        return error;
    return numberOf(parser, o.timeout, 1, QStringLiteral("a whole number of seconds above 0"),
                    c.timeoutSeconds);
}

ParsedCommandLine parseConvert(const QStringList& arguments) {
    const ConvertOptions o;
    QCommandLineParser parser;
    o.addTo(parser);
    const bool parsed = parser.parse(QStringList{QStringLiteral("convert")} + arguments);
    if (parser.isSet(o.help))
        return ofKind(Kind::Help);
    if (parser.isSet(o.version))
        return ofKind(Kind::Version);
    if (!parsed)
        return usageError(usageMessage(parser, arguments));
    ParsedCommandLine result = ofKind(Kind::Convert);
    ConvertArguments& c = result.convert;
    c.quiet = parser.isSet(o.quiet);
    c.verbose = parser.isSet(o.verbose);
    c.timings = parser.isSet(o.timings);
    c.update = parser.isSet(o.update);
    c.paths = parser.positionalArguments();
    if (auto error = takeTexts(parser, o, c))
        return usageError(*error);
    if (auto error = takeNumbers(parser, o, c))
        return usageError(*error);
    if (c.quiet && c.verbose)
        return usageError(QStringLiteral("--quiet and --verbose cannot be given together"));
    if (c.paths.isEmpty())
        return usageError(QStringLiteral("no file or folder given"));
    if (c.jobs && !c.officeConnections.isEmpty()) {
        return usageError(
            QStringLiteral("--jobs starts offices, --office uses running ones: "
                           "give one of them"));
    }
    return result;
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

// The command first, then the command's own options: before it only help and the version.
ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const ConvertOptions o;
    QCommandLineParser top;
    top.addOptions({o.help, o.version});
    top.addPositionalArgument(QStringLiteral("command"), QStringLiteral("convert"));
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(QStringList{QString()} + arguments))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(arguments.first()));
    if (top.isSet(o.help))
        return ofKind(Kind::Help);
    if (top.isSet(o.version))
        return ofKind(Kind::Version);
    const QStringList rest = top.positionalArguments();
    const QString command = rest.value(0);
    if (command == QLatin1String("help"))
        return ofKind(Kind::Help);
    if (command != QLatin1String("convert"))
        return usageError(QStringLiteral("unknown command \"%1\"").arg(command));
    return parseConvert(rest.mid(1));
}

QString commandLineHelp(const QString& programName) {
    QCommandLineParser parser;
    ConvertOptions().addTo(parser);
    // The parser writes the options from their declarations; the usage line and the examples
    // are the command line's own.
    QString options = parser.helpText();
    options = options.mid(options.indexOf(QStringLiteral("Options:")));
    return QStringLiteral(
               "Usage: %1 convert [OPTIONS] PATH...\n"
               "Converts presentations to PowerPoint 97 (.ppt) files through LibreOffice.\n"
               "A PATH that is a file is converted as it is; a PATH that is a folder adds every\n"
               "file of the chosen extension in it and in all its sub-folders. A file reached\n"
               "twice is converted once.\n"
               "\n")
               .arg(programName) +
           options +
           QStringLiteral(
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
               "  %1 convert --shard 0/3 --update --report r0.jsonl ~/talks\n"
               "      converts the first of three parts, resumable, with a report\n"
               "  %1 convert -v broken.odp\n"
               "      shows each step that failed, to find out why\n"
               "\n"
               "Run without a command to open the window; files and folders named then\n"
               "are listed in it, as a drop of them would be.\n"
               "\n"
               "Progress and failures go to standard error; \"Done.\" and the summary to "
               "standard\n"
               "output. Exit status: 0 every file converted, 1 some file failed or some folder\n"
               "could not be read, 2 usage error or nothing to convert, 3 the office could not\n"
               "be reached.\n")
               .arg(programName);
}

}  // namespace slate
