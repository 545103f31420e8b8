// Whether the song differs from what was last opened or saved: the mark the questions and the
// autosave follow.
#pragma once

// Interim: any press, key or editing menu command marks the song modified; Open and Save clear
// the mark. The edit history replaces it with one that knows what each step changed.
class EditHistory {
  public:
    bool modified() const { return modified_; }
    void markSaved() { modified_ = false; }
    void markModified() { modified_ = true; }

  private:
    bool modified_ = false;
};
