#include "MachineIdSourceControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

void addMachineIdSourceControls(QGroupBox& group, const QString& registryCaption, QtScreen& screen,
                                MachineIdSource& logic)
{
    auto* computerName = new QRadioButton(QObject::tr("Computer Name"));
    auto* registryEntry = new QRadioButton(registryCaption);
    auto* userDefined = new QRadioButton(QObject::tr("User Defined"));
    auto* registryField = new QLineEdit;
    auto* browseRegistry = new QPushButton(QObject::tr("..."));
    browseRegistry->setFixedWidth(28);
    auto* userDefinedField = new QLineEdit;

    auto* layout = new QGridLayout(&group);
    layout->addWidget(computerName, 0, 0);
    layout->addWidget(registryEntry, 0, 1);
    layout->addWidget(userDefined, 0, 2);
    layout->addWidget(registryField, 1, 0, 1, 2);
    layout->addWidget(browseRegistry, 1, 2, Qt::AlignLeft);
    layout->addWidget(userDefinedField, 2, 0, 1, 3);

    screen.addControl(MachineIdSource::ComputerNameSource, computerName);
    screen.addControl(MachineIdSource::RegistryEntrySource, registryEntry);
    screen.addControl(MachineIdSource::UserDefinedSource, userDefined);
    screen.addControl(MachineIdSource::RegistryField, registryField);
    screen.addControl(MachineIdSource::RegistryBrowseButton, browseRegistry);
    screen.addControl(MachineIdSource::UserDefined, userDefinedField);

    using Source = MachineIdSource::IdSource;
    QObject::connect(computerName, &QRadioButton::clicked, &group, [&logic] { logic.OnSourceClicked(Source::ComputerName); });
    QObject::connect(registryEntry, &QRadioButton::clicked, &group, [&logic] { logic.OnSourceClicked(Source::RegistryEntry); });
    QObject::connect(userDefined, &QRadioButton::clicked, &group, [&logic] { logic.OnSourceClicked(Source::UserDefined); });
    QObject::connect(registryField, &QLineEdit::textEdited, &group, [&logic] { logic.OnRegistryFieldChanged(); });
    QObject::connect(userDefinedField, &QLineEdit::textEdited, &group, [&logic] { logic.OnUserDefinedChanged(); });
    QObject::connect(browseRegistry, &QPushButton::clicked, &group, [&logic] { logic.OnBrowseRegistry(); });
}
