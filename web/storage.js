// SPDX-License-Identifier: GPL-3.0-or-later
// Runs inside the program's module. The user's data folder, where the direction data file lives,
// is kept in the browser's IndexedDB: loaded before the program starts, saved after each file
// the program replaces in it. IndexedDB keeps each save whole, in one transaction.
(function () {
  const dataHome = '/home/web_user/.local/share';

  function load() {
    try {
      FS.mkdirTree(dataHome);
      FS.mount(IDBFS, {}, dataHome);
    } catch (e) {
      Module['torvelStorageProblem'] = String(e && e.message || e);
      return;
    }
    addRunDependency('torvel-storage');
    FS.syncfs(true, function (error) {
      if (error) Module['torvelStorageProblem'] = String(error.message || error);
      removeRunDependency('torvel-storage');
    });
  }

  // One save at a time; a file replaced while one runs is saved by the next.
  let saving = false, again = false;
  Module['torvelSaveStorage'] = function () {
    if (Module['torvelStorageProblem']) return;
    if (saving) { again = true; return; }
    saving = true;
    FS.syncfs(false, function (error) {
      saving = false;
      const text = error ? String(error.message || error.name || error) : '';
      const address = allocateUTF8(text);
      _torvel_storage_saved(address);
      _free(address);
      if (again) { again = false; Module['torvelSaveStorage'](); }
    });
  };

  let preRun = Module['preRun'] || [];
  if (typeof preRun === 'function') preRun = [preRun];
  preRun.push(load);
  Module['preRun'] = preRun;
})();
