#include "app/ufrmMain.h"

#include "thumbs/Resampler.h"

#include <QComboBox>
#include <QLineEdit>

void TfrmMain::ConnectThumbnailShaping()
{
    connect(cmbResampleFilter, &QComboBox::currentIndexChanged, this, &TfrmMain::cmbResampleFilterClick);
    connect(txtThumbWidth, &QLineEdit::editingFinished, this, &TfrmMain::txtThumbWidthExit);
    connect(txtThumbHeight, &QLineEdit::editingFinished, this, &TfrmMain::txtThumbHeightExit);
}

void TfrmMain::cmbResampleFilterClick()
{
    TResampleFilter filter;
    if (ResampleFilterFromName(cmbResampleFilter->currentText(), filter))
        CurrentResampleFilter = filter;
}

void TfrmMain::txtThumbWidthExit()
{
    if (VideoOpen)
        txtThumbWidth->setText(QString::number(GetThumbWidth()));
}

void TfrmMain::txtThumbHeightExit()
{
    if (VideoOpen)
        txtThumbHeight->setText(QString::number(GetThumbHeight()));
}
