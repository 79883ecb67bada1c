// SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
// SPDX-License-Identifier: MIT

#pragma once

namespace slate {

// The steps of a "Start Converting" click, by the numbers an error report gives for them.
enum class ConvertStep {
    IgnoreWhileRunning = 100,
    MarkRunning = 102,
    CheckFiles = 104,
    CheckFolder = 106,
    TakeCount = 108,
    ReadRow = 110,
    ShowProgress = 112,
    ShowFileName = 114,
    LetEventsRun = 116,
    BusyBeforePlan = 118,
    TakeFileName = 120,
    TakeExtension = 122,
    DropExtension = 124,
    AddPptExtension = 126,
    BusyBeforeOffice = 128,
    ObtainServiceManager = 130,
    CreateDesktop = 132,
    LoadDocument = 134,
    CreateDispatchHelper = 136,
    GetController = 138,
    GetFrame = 140,
    TestIntoFolder = 142,
    PlanIntoFolder = 144,
    TestBesideSource = 146,
    PlanBesideSource = 148,
    UseSlashes = 150,
    CollapseSlashes = 152,
    PrepareUrl = 154,
    PrepareFilter = 156,
    PrepareSelectionOnly = 158,
    SaveAndVerify = 160,
    CloseDocument = 162,
    ReleaseDocument = 164,
    BusyAfterFile = 166,
    NextFile = 168,
    DefaultPointer = 170,
    ResetProgress = 172,
    ResetProgressText = 174,
    ShowDone = 176,
    ShowNoFolder = 178,
    ShowNoFiles = 180,
    MarkIdle = 182,
};

// The steps that belong to one file; the others are the run's own.
constexpr bool isFileStep(int number) {
    return number >= static_cast<int>(ConvertStep::ReadRow) &&
           number <= static_cast<int>(ConvertStep::BusyAfterFile);
}

}  // namespace slate
