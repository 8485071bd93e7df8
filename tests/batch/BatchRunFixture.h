#pragma once

#include "FakeMainWindow.h"
#include "batch/CreateThumbsThread.h"
#include "batch/uLibBatchMode.h"
#include "batch/ufrmConsole.h"
#include "support/TestEnv.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A console driving the fake main window over items of the test's own. The items are declared
// first so they outlive the console, whose destruction waits for a live worker.
class BatchRun : public ::testing::Test {
protected:
    void TearDown() override { CommandLineMode = false; }

    // A video "/v/<name>.avi" writing "/out/<name><n>.jpg"; it opens when `duration` is above 0.
    TBatchItem& AddItem(const QString& name, int64_t duration, int32_t milliseconds, int32_t thumbCount,
                        int64_t skipFront = 0, int64_t skipBack = 0)
    {
        auto item = std::make_unique<TBatchItem>();
        item->VideoFile = QStringLiteral("/v/%1.avi").arg(name);
        item->Destination = QStringLiteral("/out/");
        item->OutputName = name;
        item->Duration = 1;  // replaced by what the main window reports
        item->Milliseconds = milliseconds;
        item->ThumbCount = thumbCount;
        item->SkipFront = skipFront;
        item->SkipBack = skipBack;
        if (duration > 0)
            main.durations[item->VideoFile] = duration;
        items.push_back(std::move(item));
        return *items.back();
    }

    QList<TBatchItem*> ItemList() const
    {
        QList<TBatchItem*> list;
        for (const auto& item : items)
            list << item.get();
        return list;
    }

    // Starts a run with the console shown (not modal) and waits until the worker has ended.
    void Run()
    {
        console.show();
        ASSERT_TRUE(console.BeginBatch(ItemList(), &main));
        ASSERT_TRUE(testenv::waitUntil([] { return ActiveWorker == nullptr; }));
        EXPECT_FALSE(main.calledOffMainThread);
    }

    QStringList MemoLines() const
    {
        return console.txtError->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    std::vector<std::unique_ptr<TBatchItem>> items;
    FakeMainWindow main;
    TfrmConsole console;
};
