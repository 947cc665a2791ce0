#pragma once

#include "data/ui/recordpage.h"

class QLabel;
class QComboBox;

namespace Brelvan {

// The Clients page: the client list over Names, its head and tag strips, the notes memo,
// picture box and the current client's names.
class ClientsPage : public RecordPage
{
    Q_OBJECT

public:
    explicit ClientsPage(MainAccess &main);

    // Show all clients: "All" applied, then the client whose ID is the EntryStr setting.
    void showAllClients();

protected:
    void showAllForReverse() override;
    void startUp() override;

private:
    void buildStrips();
};

ClientsPage *createClientsPage(MainAccess &main);

} // namespace Brelvan
