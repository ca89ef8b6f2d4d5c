#include "platform/gui/FormBroadcast.h"

#include <vector>

#include "platform/gui/Forms.h"

void PerformOnEveryForm(unsigned Msg)
{
    if (!Screen)
        return;
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen->FormCount(); ++i)
        forms.push_back(Screen->Forms(i));
    for (TCustomForm* form : forms)
        if (Screen->HasForm(form))
            form->Perform(Msg);
}
