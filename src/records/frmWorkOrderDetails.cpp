// The work order window's details: the services, parts and notes of the current
// order, each through its own data source that follows the current order.
#include "frmWorkOrder.h"

#include "DataControl.h"
#include "ProgramEnd.h"
#include "platform/AppError.h"
#include "platform/MsgBox.h"
#include "store/Recordset.h"
#include "store/StoreErrors.h"

namespace records {

namespace {

struct DetailSource {
    DataControl* frmWorkOrder::*control;
    const char* forOrder; // the current order's key is appended
    const char* forNone;
};

// In the order in which they are pointed at an order or at none.
const DetailSource kDetails[] = {
    {&frmWorkOrder::datParts, "Select * from PartsUsed where WorkOrderID = ",
     "Select * from PartsUsed where WorkOrderID = -1"},
    {&frmWorkOrder::datService, "Select * from workDone Where WorkOrderID = ",
     "Select * from workDone Where WorkOrderID = -1"},
    {&frmWorkOrder::datNotes, "Select * from WorkOrderMemo where WorkorderID = ",
     "Select * from WorkOrderMemo Where WorkOrderID = -1"},
};

} // namespace

void frmWorkOrder::ClearDetails() {
    for (const DetailSource& detail : kDetails) {
        DataControl* source = this->*detail.control;
        source->setRecordSource(QLatin1String(detail.forNone));
        source->Refresh();
    }
}

void frmWorkOrder::BindDetails() {
    try {
        bool empty = false;
        try {
            empty = isEmpty();
        } catch (const platform::AppError& error) {
            if (error.number() != store::errNoCurrentRecord)
                throw;
        }
        if (empty) {
            ClearDetails();
            return;
        }
        for (const DetailSource& detail : kDetails) {
            DataControl* source = this->*detail.control;
            // Between a delete and the next move no order is current: the detail
            // then shows no rows rather than another source's or an empty text.
            QString recordSource = QLatin1String(detail.forNone);
            try {
                recordSource = QLatin1String(detail.forOrder) +
                               orders().value(QStringLiteral("WorkOrderID")).toString();
            } catch (const platform::AppError& error) {
                if (error.number() != store::errNoCurrentRecord)
                    throw;
            }
            source->setRecordSource(recordSource);
            try {
                source->Refresh();
            } catch (const platform::AppError& error) {
                if (error.number() != store::errNoCurrentRecord)
                    throw;
            }
        }
    } catch (const platform::AppError& error) {
        // The details can no longer follow the orders: nothing is saved, the
        // program ends.
        platform::MsgBox(error.text(), platform::vbInformation, QStringLiteral("Error"));
        EndProgram();
    }
}

} // namespace records
